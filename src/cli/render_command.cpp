#include "cli/render_command.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/io/file_sink.h"
#include "core/formats/file_types.h"
#include "draw/chart_scale.h"
#include "draw/print_page.h"
#include "draw/view_renderer.h"
#include "draw/window_layout.h"
#include "draw_qt/pdf_document.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe {

namespace {

// Qt needs an application object for its fonts; lobeconv runs without a display.
void ensure_gui_application() {
  if (QGuiApplication::instance()) return;
  // Qt's own chatter about the missing display environment is no news to a batch tool.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "lobeconv: %s\n", qPrintable(msg));
  });
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "lobeconv";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

// The view as the main window in view mode draws it in a client area of width x height.
bool draw_window_view(const lobe_state& st, run_log& log, surface& dc, int width, int height, cut_ends* ends) {
  window_layout layout;
  set_window_parameters(layout, width, height, false, centre_db_annuli[zoom_index(st.view)]);
  dc.set_text_color(rgb(0, 66, 117));
  dc.select_font({14, 400, false});
  const int descr_lines = draw_description_strip(dc, st.pd, layout);
  return draw_view(st, log, dc, window_view_geometry(layout, descr_lines), ends);
}

// "png", "svg" or "pdf" from the name's extension in any case; "" for anything else.
std::string picture_extension(const std::string& path) {
  std::string ext = dialog_extension(path);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == "png" || ext == "svg" || ext == "pdf" ? ext : "";
}

// Writes `bytes` the way every file is written: a temporary file beside the
// target, every write and the close checked, then the rename.
bool save_bytes(const std::string& path, const QByteArray& bytes, std::string& problem) {
  atomic_file out;
  if (!out.open(path) || !out.write(bytes.constData(), static_cast<std::size_t>(bytes.size())) || !out.commit()) {
    problem = out.error().empty() ? "the file could not be written" : out.error();
    return false;
  }
  return true;
}

// Paints with `draw` onto the device the extension asks for, and saves it.
template <class Draw>
bool paint_to_file(const std::string& path, const std::string& ext, int width, int height, int dpi, Draw draw,
                   std::string& problem) {
  // Drawn into memory first, then saved the way every file is saved: a
  // temporary file beside the target, every write and the close checked,
  // then the rename (so a full disk never leaves a cut-off picture behind).
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  if (ext == "png") {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      qpainter_surface dc(painter, true);
      draw(dc, width, height);
    }
    if (!image.save(&file, "PNG")) {
      problem = "the image could not be encoded";
      return false;
    }
  } else if (ext == "svg") {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(dpi);
    svg.setTitle(QStringLiteral("Lobeview"));
    QPainter painter(&svg);
    painter.fillRect(QRect(0, 0, width, height), Qt::white);
    qpainter_surface dc(painter);
    draw(dc, width, height);
  } else {
    QPdfWriter pdf(&file);
    pdf.setResolution(dpi);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(width * 25.4 / dpi, height * 25.4 / dpi), QPageSize::Millimeter));
    pdf.setCreator(QStringLiteral("Lobeview"));
    QPainter painter(&pdf);
    qpainter_surface dc(painter);
    draw(dc, pdf.width(), pdf.height());
  }
  file.close();
  return save_bytes(path, bytes, problem);
}

}  // namespace

int render_document(const std::string& out_path, int pages, const page_drawing& draw, std::ostream& err) {
  const std::string ext = picture_extension(out_path);
  if (ext != "pdf" && ext != "png") {
    err << "lobeconv: a report is a .pdf (or its first page a .png), not " << out_path << "\n";
    return 2;
  }
  ensure_gui_application();
  std::string problem;
  bool ok;
  if (ext == "png") {
    // The first page at 150 dpi: an A4 page of 1240 x 1754 pixels.
    ok = paint_to_file(out_path, ext, 1240, 1754, 150,
                       [&](surface& dc, int w, int h) { draw(dc, 0, w, h, 150); }, problem);
  } else {
    const QByteArray bytes = a4_pdf(pages, QStringLiteral("Lobeview test report"),
                                    [&](surface& dc, int page, int width, int height) {
                                      draw(dc, page, width, height, PDF_DOCUMENT_PPI);
                                    });
    ok = save_bytes(out_path, bytes, problem);
  }
  if (!ok) {
    err << "lobeconv: cannot write " << out_path << ": " << problem << "\n";
    return 1;
  }
  return 0;
}

int render_pattern(lobe_state& st, run_log& log, const render_options& o, const std::string& out_path,
                   std::ostream& err) {
  const std::string ext = picture_extension(out_path);
  if (ext.empty()) {
    err << "lobeconv: render writes .png, .svg or .pdf, not " << out_path << "\n";
    return 2;
  }
  if (o.display_type) st.view.display_type = *o.display_type;
  if (o.mv_display) st.view.mv_display = *o.mv_display;
  if (o.log_display) st.view.log_display = *o.log_display;
  if (o.zoom) st.view.centre_db_ix = *o.zoom;
  if (o.power) st.emr.epower = *o.power;
  if (o.loss) st.emr.eloss = *o.loss;
  if (o.height_m) st.emr.eheight = *o.height_m;
  ensure_gui_application();
  bool chart_drawn = true;
  cut_ends ends;
  std::string problem;
  bool ok;
  if (o.print_landscape) {
    page_setup page;
    page.landscape = *o.print_landscape;
    page.horzres = page.landscape ? 7016 : 4960;
    page.vertres = page.landscape ? 4960 : 7016;
    ok = paint_to_file(
        out_path, ext, page.horzres, page.vertres, page.ppi,
        [&](surface& dc, int w, int h) {
          page.horzres = w;
          page.vertres = h;
          chart_drawn = print_chart(st, log, dc, page, &ends);
        },
        problem);
  } else {
    ok = paint_to_file(
        out_path, ext, o.width, o.height, 96,
        [&](surface& dc, int w, int h) { chart_drawn = draw_window_view(st, log, dc, w, h, &ends); }, problem);
  }
  if (!ok) {
    err << "lobeconv: cannot write " << out_path << ": " << problem << "\n";
    return 1;
  }
  shorten_cuts(st.pd, ends);
  if (!chart_drawn) err << "lobeconv: note: " << EMR_NO_CUT_MESSAGE << "\n";
  return 0;
}

int render_picture(const std::string& out_path, int width, int height, const picture_drawing& draw, std::ostream& err) {
  const std::string ext = picture_extension(out_path);
  if (ext.empty()) {
    err << "lobeconv: pictures are .png, .svg or .pdf, not " << out_path << "\n";
    return 2;
  }
  ensure_gui_application();
  std::string problem;
  if (!paint_to_file(out_path, ext, width, height, 96, [&](surface& dc, int w, int h) { draw(dc, w, h); }, problem)) {
    err << "lobeconv: cannot write " << out_path << ": " << problem << "\n";
    return 1;
  }
  return 0;
}

}  // namespace lobe
