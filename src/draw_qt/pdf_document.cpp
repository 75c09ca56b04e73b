#include "draw_qt/pdf_document.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "draw_qt/qpainter_surface.h"

namespace lobe {

QByteArray a4_pdf(int pages, const QString& title, const pdf_page& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(PDF_DOCUMENT_PPI);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setCreator(QStringLiteral("Lobeview"));
    pdf.setTitle(title);
    QPainter painter(&pdf);
    for (int page = 0; page < pages; ++page) {
      if (page > 0) pdf.newPage();
      qpainter_surface dc(painter);
      draw(dc, page, pdf.width(), pdf.height());
    }
  }
  buffer.close();
  return bytes;
}

}  // namespace lobe
