// The window: start-up to the first paint, CPU use while idle, and a sweep at
// the fastest rate the 9600-baud link allows with the analyser answering at
// once (bearings lost, longest hold-up of the window's events).
#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "app/main_window.h"
#include "app/qt_range_link.h"
#include "app/scripted_ui.h"
#include "core/session/antenna_loader.h"
#include "core/text/field_text.h"
#include "core/range/range_codes.h"

namespace lobe::bench {
namespace {

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

void BM_StartupToFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    auto st = make_lobe_state();
    run_log log;
    range_link link;
    scripted_ui ui;
    main_window w(*st, log, link, window_state{}, &ui);
    w.resize(1280, 820);
    w.show_report(open_file_on_startup(*st, log, LOBE_SAMPLE), "open_file_on_startup()");
    w.show();
    while (w.paint_count() == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
  }
}

void BM_IdleCpu30s(benchmark::State& state) {
  for (auto _ : state) {
    auto st = make_lobe_state();
    run_log log;
    range_link link;
    scripted_ui ui;
    main_window w(*st, log, link, window_state{}, &ui);
    w.resize(1280, 820);
    w.show_report(open_file_on_startup(*st, log, LOBE_SAMPLE), "open_file_on_startup()");
    w.show();
    w.start_timer();
    QTest::qWait(500);
    const double before = cpu_seconds();
    QTest::qWait(30000);
    const double used = cpu_seconds() - before;
    state.counters["cpu_percent_of_a_core"] = 100.0 * used / 30.0;
    state.SetIterationTime(30.0);
  }
}

void BM_SweepAt9600Baud(benchmark::State& state) {
  for (auto _ : state) {
    // "#A 123\r" is 7 bytes of 10 bits: 9600 baud carries about 137 bearings a second.
    QProcess sim;
    sim.start(QString::fromLatin1(RANGESIM_PATH), {"--address", "127.0.10.1", "--rate", "137"});
    sim.waitForReadyRead(5000);
    const std::string pty = sim.readLine().trimmed().toStdString();
    auto st = make_lobe_state();
    run_log log;
    scripted_ui ui;
    set_field(st->settings.dsa_ip, "127.0.10.1");
    qt_range_link link(*st, log, {{1, pty, 0xCD}});
    link.probe_ports();
    link.dsa_init();
    main_window w(*st, log, link, window_state{}, &ui);
    link.attach(&w);
    w.resize(1280, 820);
    w.show();
    w.start_timer();
    QTest::qWaitFor([&] { return link.dsa_connected() && link.dsa().dsa_setup == 0; }, 10000);
    w.commands().add_freq->click();
    w.cuts().freqs().at(0).add_cut->click();
    QTest::qWaitFor([&] { return link.dsa().dsa_req_pending == DSA_REQ_NONE; }, 5000);

    // A probe timer every 5 ms: how late it fires is how long events waited.
    QElapsedTimer since;
    double worst_ms = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
      if (since.isValid()) worst_ms = std::max(worst_ms, since.nsecsElapsed() / 1e6 - 5.0);
      since.restart();
    });
    probe.start();
    QElapsedTimer clock;
    clock.start();
    w.cuts().row(0, 0)->sweep->click();
    QTest::qWaitFor([&] { return w.status_text(STB_ACTION) == "Sweep done"; }, 20000);
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    probe.stop();
    int recorded = 0;
    for (int a = 0; a < 360; ++a) recorded += st->range.cbuff[a] > 0.0f;
    state.counters["bearings_lost"] = 360 - recorded;
    state.counters["worst_event_delay_ms"] = worst_ms;
    sim.write("quit\n");
    sim.waitForFinished(2000);
  }
}

BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_IdleCpu30s)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_SweepAt9600Baud)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

}  // namespace
}  // namespace lobe::bench

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
