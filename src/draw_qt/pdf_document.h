// A document of A4 portrait pages at 600 dpi, drawn page by page on the
// surface and held in memory as PDF, for the caller to save as it saves
// every file (the test report, from lobeconv and from the window).
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "draw/surface.h"

namespace lobe {

inline constexpr int PDF_DOCUMENT_PPI = 600;

using pdf_page = std::function<void(surface& dc, int page, int width, int height)>;
QByteArray a4_pdf(int pages, const QString& title, const pdf_page& draw);

}  // namespace lobe
