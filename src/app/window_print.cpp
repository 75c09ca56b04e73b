// Printing: the platform's print dialog, then the page on the printer; and
// the test report, into a PDF.
#include <QPainter>
#include <QPrinter>

#include "app/main_window.h"
#include "core/text/c_numeric.h"
#include "draw/emr_chart.h"
#include "core/io/file_sink.h"
#include "draw/print_page.h"
#include "draw/test_report.h"
#include "draw_qt/pdf_document.h"
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
    page_extras extras;
    extras.reference = reference();
    extras.reference_name = reference_name_;
    extras.difference = actions_.difference->isChecked();
    drawn = print_chart(st_, log_, dc, page, &ends, extras);
    shorten_cuts(st_.pd, ends);
  }
  if (!painter.end())
    ui_.message_box(c_format("EndDoc failed - %d", 0), "print_chart() processing", message_icon::error);
  if (!drawn) ui_.message_box(EMR_NO_CUT_MESSAGE, EMR_NO_CUT_CAPTION, message_icon::information);
}

// File > Report...: the test report of the pattern as shown (with the
// verdicts against the mask, when one is shown) into a PDF of A4 pages,
// written as every file is: in full, or not at all.
void main_window::report_flow() {
  file_dialog_request request;
  request.folder = ws_.documents_folder;
  request.default_extension = "pdf";
  request.filters = {{"PDF Files (*.pdf)", "*.pdf"}};
  const std::optional<std::string> path = ui_.save_file_name(request);
  if (!path) return;
  report_inputs in;
  in.st = &st_;
  in.pattern_name = st_.file.filename_set ? st_.file.szFileName_name : "(not saved)";
  in.reference = reference();
  in.reference_name = reference_name_;
  const test_report report = make_test_report(in);
  page_setup setup;  // its size is the document's
  setup.ppi = PDF_DOCUMENT_PPI;
  const QByteArray bytes =
      a4_pdf(report.pages(), QStringLiteral("Lobeview test report"), [&](surface& dc, int page, int width, int height) {
        setup.horzres = width;
        setup.vertres = height;
        draw_report_page(in, report, log_, dc, page, setup);
      });
  atomic_file out;
  if (!out.open(*path) || !out.write(bytes.constData(), static_cast<std::size_t>(bytes.size())) || !out.commit()) {
    ui_.message_box("Unable to write the report " + *path + ": " + out.error(), "Report", message_icon::error);
    return;
  }
  set_status_text(STB_ACTION, report.has_verdict ? std::string("Report written: ") + (report.pass ? "pass" : "fail")
                                                 : std::string("Report written"));
}

}  // namespace lobe
