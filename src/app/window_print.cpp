// Printing: the platform's print dialog, then the page on the printer.
#include <QPainter>
#include <QPrinter>

#include "app/main_window.h"
#include "core/text/c_numeric.h"
#include "draw/emr_chart.h"
#include "draw/print_page.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe {

void main_window::print_flow() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);
  printer.setDocName(QStringLiteral("KWR Tessel graphing"));
  if (!ui_.print_setup(printer)) return;
  print_to(printer);
}

void main_window::print_to(QPrinter& printer) {
  ws_.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
  QPainter painter;
  if (!painter.begin(&printer)) {
    ui_.message_box(c_format("StartDoc failed - %d", -1), "print_chart() processing", message_icon::error);
    return;
  }
  bool drawn = true;
  {
    qpainter_surface dc(painter);
    page_setup page;
    page.horzres = printer.width();
    page.vertres = printer.height();
    page.ppi = printer.logicalDpiX();
    page.screen_ppi = client_->logicalDpiX() > 0 ? client_->logicalDpiX() : 96;
    page.landscape = ws_.landscape != 0;
    cut_ends ends;
    drawn = print_chart(st_, log_, dc, page, &ends);
    shorten_cuts(st_.pd, ends);
  }
  if (!painter.end())
    ui_.message_box(c_format("EndDoc failed - %d", 0), "print_chart() processing", message_icon::error);
  if (!drawn) ui_.message_box(EMR_NO_CUT_MESSAGE, EMR_NO_CUT_CAPTION, message_icon::information);
}

}  // namespace lobe
