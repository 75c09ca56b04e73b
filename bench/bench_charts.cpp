// Drawing the largest pattern: polar and rectangular charts on a window-sized
// image, and the printed page at 600 dpi into a PDF.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "draw/polar_chart.h"
#include "draw/print_page.h"
#include "draw/rect_chart.h"
#include "draw/window_layout.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe::bench {
namespace {

void BM_PolarLargestOnWindowImage(benchmark::State& state) {
  harness h;
  fill_largest(*h.st);
  window_layout l;
  set_window_parameters(l, 1280, 820, false, 4);
  QImage image(1280, 820, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    qpainter_surface dc(painter, true);
    init_chart(*h.st, dc, 1.0f, l.plot_centre_x, l.plot_centre_y, l.plot_radius);
    plot_chart(*h.st, dc, 1.0f, l.plot_centre_x, l.plot_centre_x, l.plot_centre_y, l.plot_radius);
  }
}

void BM_RectLargestOnWindowImage(benchmark::State& state) {
  harness h;
  fill_largest(*h.st);
  h.st->view.display_type = DISPLAY_TYPE_RECT;
  window_layout l;
  set_window_parameters(l, 1280, 820, false, 4);
  QImage image(1280, 820, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    qpainter_surface dc(painter, true);
    init_rect_chart(*h.st, dc, 1.0f, l.rRectArea);
    plot_rect_chart(*h.st, dc, 1.0f, l.rRectArea, l.rRectArea);
  }
}

void BM_PrintedPage600DpiPdf(benchmark::State& state) {
  harness h;
  fill_largest(*h.st);
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(600);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    qpainter_surface dc(painter);
    page_setup page{pdf.width(), pdf.height(), 600, 96, false};
    print_chart(*h.st, h.log, dc, page);
    painter.end();
    benchmark::DoNotOptimize(buffer.size());
  }
}

BENCHMARK(BM_PolarLargestOnWindowImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectLargestOnWindowImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintedPage600DpiPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lobe::bench

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
