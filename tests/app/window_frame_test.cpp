// The frame of the main window as a user sees it, in every state: every
// control inside the client area and above the status bar, no two controls
// on top of each other, every header edit in its label's row, every text
// whole and clear of the controls. The same tests run offscreen and on a real
// X server with a window manager, at scale factors 1 and 2 (see
// tests/CMakeLists.txt).
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "app/lobe_dialogs.h"
#include "app/qt_range_link.h"
#include "app/window_fixture.h"
#include "core/session/antenna_loader.h"
#include "core/text/field_text.h"

namespace lobe {
namespace {

QRect qrect(const lobe::rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

std::string name_of(const QWidget* w) {
  if (const auto* b = qobject_cast<const QAbstractButton*>(w); b && !b->text().isEmpty())
    return "\"" + b->text().toStdString().append("\"");
  return w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString();
}

// What a button's text needs across, its own margins included.
int text_needs(const QAbstractButton& b) {
  if (qobject_cast<const QRadioButton*>(&b) || qobject_cast<const QCheckBox*>(&b)) return b.sizeHint().width();
  return b.text().isEmpty() ? 0 : b.fontMetrics().horizontalAdvance(b.text()) + 6;
}


void expect_frame_holds(window_fixture& t, const std::string& state) {
  SCOPED_TRACE(state);
  main_window& w = *t.w;
  w.client()->repaint();
  t.settle();
  QWidget* client = w.client();
  const QRect area = client->rect();

  // The client area ends where the status bar begins (give or take the pixel
  // a fractional scale factor rounds away), and the bar has its grip.
  const int client_bottom = client->mapTo(&w, QPoint(0, client->height())).y();
  EXPECT_LE(client_bottom, w.statusBar()->mapTo(&w, QPoint(0, 0)).y() + 1);
  EXPECT_TRUE(w.statusBar()->isSizeGripEnabled());

  // The controls: the client's own, and the chart's (its zoom button, the
  // turntable strip), the chart itself being the canvas they stand on.
  const QWidget* chart = &w.chart();
  EXPECT_TRUE(area.contains(chart->geometry())) << "the chart leaves the client area";
  std::vector<QWidget*> shown;
  for (QWidget* c : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (c->isVisible() && c != chart) shown.push_back(c);
  for (QWidget* c : chart->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (c->isVisible()) shown.push_back(c);
  ASSERT_FALSE(shown.empty());
  auto placed = [&](const QWidget* c) { return QRect(c->mapTo(client, QPoint(0, 0)), c->size()); };
  for (QWidget* c : shown) {
    EXPECT_TRUE(area.contains(placed(c))) << name_of(c) << " leaves the client area";
    if (auto* b = qobject_cast<QAbstractButton*>(c)) {
      EXPECT_LE(text_needs(*b), b->width()) << name_of(c) << " is cut off";
    }
  }
  for (std::size_t i = 0; i < shown.size(); ++i)
    for (std::size_t j = i + 1; j < shown.size(); ++j)
      EXPECT_FALSE(placed(shown[i]).intersects(placed(shown[j])))
          << name_of(shown[i]) << " overlaps " << name_of(shown[j]);
  EXPECT_EQ(w.turntable()->isVisible(), t.st->range.capture_enabled != 0);

  // Texts painted on the frame, the chart or a strip: inside what painted
  // them, whole, clear of every other control.
  for (const auto& text : w.painted_texts()) {
    const QRect box = qrect(text.box);
    const QRect owner = text.owner ? placed(text.owner) : area;
    EXPECT_TRUE(owner.contains(box)) << "\"" << text.text << "\" leaves " << (text.owner ? name_of(text.owner) : "the client area");
    EXPECT_LE(box.right(), area.right() - 4) << "\"" << text.text << "\" touches the window's edge";
    EXPECT_GE(box.height(), 11) << "\"" << text.text << "\" is too small to read";
    for (QWidget* c : shown) {
      if (c == text.owner) continue;
      EXPECT_FALSE(box.intersects(placed(c))) << "\"" << text.text << "\" runs under " << name_of(c);
    }
  }

  // The chart's own texts (degree and level labels, half-power angles, the
  // description strip) neither touch each other nor lie under a wedge.
  const drawn_marks& marks = w.chart().marks();
  for (std::size_t i = 0; i < marks.texts.size(); ++i) {
    const auto& a = marks.texts[i];
    const QRect box = qrect(a.box);
    for (std::size_t j = i + 1; j < marks.texts.size(); ++j)
      EXPECT_FALSE(box.adjusted(-2, 0, 2, 0).intersects(qrect(marks.texts[j].box)))
          << "\"" << a.text << "\" runs into \"" << marks.texts[j].text << "\"";
    for (const lobe::rect& wedge : marks.polylines)
      EXPECT_FALSE(box.intersects(qrect(wedge))) << "\"" << a.text << "\" lies under a wedge";
  }

  // Each header edit stands in the row of a label to its left.
  const panel_pane pane = w.state().disp_desc ? panel_pane::description : panel_pane::performance;
  int edits = 0;
  for (const header_field& f : header_fields()) {
    if (f.panel.pane != pane || f.panel.row < 0) continue;
    ++edits;
    const std::string id = f.name;
    QWidget* e = w.header().edit(f.name);
    ASSERT_NE(e, nullptr) << "header edit " << id;
    EXPECT_TRUE(e->isVisible()) << "header edit " << id;
    bool labelled = false;
    for (const auto& text : w.painted_texts()) {
      const QRect box = qrect(text.box);
      labelled |= box.right() < e->x() && box.top() <= e->geometry().bottom() && box.bottom() >= e->y() &&
                  e->x() - box.right() < 80;
    }
    EXPECT_TRUE(labelled) << "header edit " << id << " at y " << e->y() << " has no label in its row";
  }
  EXPECT_EQ(edits, 14) << "each pane has fourteen edits";
}

TEST(WindowFrame, EveryStateOfTheFrameHolds) {
  window_fixture view(false, false, true);
  expect_frame_holds(view, "view mode, empty");
  view.open("convert/src.nsma");
  expect_frame_holds(view, "view mode with a file");
  view.click(view.w->commands().performance);
  expect_frame_holds(view, "view mode, performance pane");

  window_fixture full(true, false, true);
  expect_frame_holds(full, "full mode, empty");
  full.open("convert/src.nsma");
  expect_frame_holds(full, "full mode with a file");
  for (int view : {1, 2, 3, 0}) {
    full.actions().views[view]->trigger();
    if (view == 1) full.actions().envelopes.at(0)->trigger();
    full.settle();
    expect_frame_holds(full, "full mode, view " + std::to_string(view + 1));
  }
  full.click(full.w->commands().performance);
  expect_frame_holds(full, "full mode, performance pane");
  full.click(full.w->commands().description);

  // The controller powers on and off: the header moves down and back up.
  full.w->switch_capture(1);
  full.settle();
  expect_frame_holds(full, "test-range mode");
  full.st->pd.freq[0].cut[0].emax = 1.0f;  // mV, as a sweep stores it
  full.st->all_emax = 1.0f;
  full.st->flags.cut[0][0].sweep_completed = 1;
  expect_frame_holds(full, "after a sweep");
  EXPECT_TRUE(full.painted("1.000mV")) << "the swept peak as the status bar shows it";
  full.st->pd.freq[0].cut[0].emax = 812.5f;
  full.st->all_emax = 812.5f;
  expect_frame_holds(full, "after a strong sweep");
  EXPECT_TRUE(full.painted("812.5")) << "a large peak, readable";
  for (const auto& [width, height] : {std::pair{1024, 700}, std::pair{560, 500}}) {
    full.resize_to(width, height);
    for (int view : {1, 0}) {
      full.actions().views[view]->trigger();
      full.settle();
      expect_frame_holds(full, "test-range mode at " + std::to_string(width) + " view " + std::to_string(view + 1));
    }
  }
  full.resize_to(1280, 820);
  full.w->switch_capture(0);
  full.settle();
  expect_frame_holds(full, "after the test range");

  full.resize_to(1000, 720);
  expect_frame_holds(full, "a smaller window");
  full.resize_to(560, 500);
  EXPECT_GE(full.w->client()->width(), MIN_CLIENT_W);
  EXPECT_GE(full.w->client()->height(), MIN_CLIENT_H);
  expect_frame_holds(full, "the smallest window");
  full.click(full.w->commands().performance);
  expect_frame_holds(full, "the smallest window, performance pane");

  for (bool edit : {false, true}) {
    window_fixture started(edit, false, false, "convert/src.nsma");
    expect_frame_holds(started, edit ? "full mode, started with a file" : "view mode, started with a file");
  }
}

// Crowded charts: a published panel with many half-power crossings and the
// samples, in every view at every size the window is tried at; no label
// runs into another or lies under a wedge, at each scale factor the suite
// runs with.
TEST(WindowFrame, CrowdedChartsKeepEveryLabelClear) {
  window_fixture t(true, false, true);
  for (const char* file : {"planet/published.msi", "../../data/samples/yagi.nsma", "../../data/samples/panel.nsma"}) {
    t.open(file);
    for (const auto& [width, height] : {std::pair{1280, 820}, std::pair{1024, 700}, std::pair{560, 500}}) {
      t.resize_to(width, height);
      for (int view : {0, 1, 2, 3}) {
        t.actions().views[view]->trigger();
        t.settle();
        expect_frame_holds(t, std::string(file) + " at " + std::to_string(width) + " view " + std::to_string(view + 1));
      }
    }
  }
  // The difference chart and the verdict lines, the pattern against itself.
  t.ui.file_names.push_back(test::data_path("../../data/samples/yagi.nsma"));
  t.actions().compare_with->trigger();
  t.actions().difference->trigger();
  for (const auto& [width, height] : {std::pair{1280, 820}, std::pair{560, 500}})
    for (int view : {1, 2}) {
      t.resize_to(width, height);
      t.actions().views[view]->trigger();
      t.settle();
      expect_frame_holds(t, "difference at " + std::to_string(width) + " view " + std::to_string(view + 1));
    }
}

// The first size asked for is larger than any screen the tests run on: the
// window, frame and title bar included, stands on the screen's free area;
// on a free area of 1024 x 640 or more (a 1600 x 1000 screen at scale 1.5)
// it fits whole.
TEST(WindowFrame, TheFirstSizeFitsTheScreenFrameIncluded) {
  auto st = make_lobe_state();
  run_log log;
  recording_link link;
  scripted_ui ui;
  main_window w(*st, log, link, window_state{}, &ui);
  w.show_first(QSize(4000, 3000));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const QRect free_area = w.screen()->availableGeometry();
  // The window manager frames the window a moment later; the window follows.
  (void)QTest::qWaitFor([&] { return free_area.contains(w.frameGeometry()); }, 2500);
  QTest::qWait(200);
  const QRect frame = w.frameGeometry();
  SCOPED_TRACE("free area " + std::to_string(free_area.width()) + "x" + std::to_string(free_area.height()) +
               ", frame " + std::to_string(frame.width()) + "x" + std::to_string(frame.height()) + " at " +
               std::to_string(frame.x()) + "," + std::to_string(frame.y()));
  EXPECT_EQ(frame.topLeft(), free_area.topLeft()) << "the title bar on the screen";
  if (free_area.width() >= 1024 && free_area.height() >= 640) {
    EXPECT_TRUE(free_area.contains(frame)) << "the whole window on the screen";
  }
}

// A load's message box stands over the new pattern: its rows and its chart
// are drawn before the box is shown, not the last file's.
TEST(WindowFrame, ALoadsMessageStandsOverTheNewPattern) {
  window_fixture t;
  t.open("convert/src.nsma");
  t.w->client()->repaint();
  const int drawings = t.w->chart_drawings();
  int drawings_at_box = -1;
  std::size_t rows_at_box = 0;
  t.ui.on_box = [&] {
    drawings_at_box = t.w->chart_drawings();
    rows_at_box = t.w->cuts().cuts().size();
  };
  t.ui.file_names.push_back(test::data_path("nsma/long_cut.nsma"));
  t.click(t.w->commands().open);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_GT(drawings_at_box, drawings) << "the new chart is drawn first";
  EXPECT_EQ(rows_at_box, static_cast<std::size_t>(t.st->pd.freq[0].numcut)) << "the new rows too";
}

// The progress bar on the screen follows the bearing a degree at a time, as
// a sweep gives it, not only when the change is large enough for the bar to
// repaint itself.
TEST(WindowFrame, TheProgressBarOnScreenFollowsTheBearing) {
  window_fixture t(true, true);
  QProgressBar* bar = t.w->commands().progress;
  ASSERT_TRUE(bar->isVisible());
  for (int bearing = 0; bearing <= 20; ++bearing) {
    t.w->set_progress(bearing);
    QTest::qWait(10);
  }
  EXPECT_EQ(bar->value(), 20);
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) return;  // only X can be read back
  // How far the bar's chunk reaches along its middle row, on the screen and
  // as the bar draws itself now.
  const QColor chunk = bar->palette().color(QPalette::Highlight);
  auto reach = [&](const QImage& image) {
    int last = -1;
    const int y = image.height() / 2;
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - chunk.red()) + std::abs(c.green() - chunk.green()) + std::abs(c.blue() - chunk.blue()) < 90)
        last = x;
    }
    return last;
  };
  const QPoint at = bar->mapTo(t.w.get(), QPoint(0, 0));
  const QImage shown = t.w->screen()->grabWindow(t.w->winId(), at.x(), at.y(), bar->width(), bar->height()).toImage();
  const int drawn = reach(bar->grab().toImage());
  EXPECT_GT(drawn, 0) << "the chunk's colour is found";
  EXPECT_NEAR(reach(shown), drawn, 2) << "the bar on screen lags its value";
}

TEST(WindowFrame, FrameLinesAreCrispOnePixelLines) {
  window_fixture t;
  t.open("convert/src.nsma");
  const QImage shot = t.w->client()->grab().toImage();
  const qreal ratio = shot.devicePixelRatio();
  const int x = t.w->layout().rRectArea.right;
  const QColor line(230, 25, 56);
  for (int y : {40, 200, 400}) {
    const QColor at = shot.pixelColor(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
    EXPECT_EQ(at, line) << "y " << y;
    const QColor beside = shot.pixelColor(static_cast<int>((x + 1) * ratio), static_cast<int>(y * ratio));
    EXPECT_NE(beside.red() > 235 && beside.green() < 200, true) << "a pale second pixel beside the line at y " << y;
    EXPECT_EQ(shot.pixelColor(static_cast<int>((x - 1) * ratio), static_cast<int>(y * ratio)), QColor(Qt::white));
  }
}

TEST(WindowFrame, HoveringRepaintsWithoutDrawingTheChartAgain) {
  window_fixture t;
  t.open("convert/src.nsma");
  t.w->actions().views[3]->trigger();
  t.settle();
  t.w->client()->repaint();
  const int drawings = t.w->chart_drawings();
  // The window repaints under buttons as the mouse passes over them.
  for (int i = 0; i < 20; ++i) {
    for (QWidget* b : std::initializer_list<QWidget*>{t.w->commands().open, t.w->commands().print,
                                                      t.w->commands().save, t.w->commands().clear_all}) {
      QTest::mouseMove(b, b->rect().center());
      t.w->client()->repaint(b->geometry());
    }
  }
  t.settle();
  EXPECT_EQ(t.w->chart_drawings(), drawings);
  EXPECT_GT(t.w->paint_count(), 20);
  // A real change draws it once more.
  t.click(t.w->cuts().emr()->refresh);
  t.w->client()->repaint();
  EXPECT_EQ(t.w->chart_drawings(), drawings + 1);
}

TEST(WindowFrame, NegativeOrNonNumericExposureInputIsRefused) {
  window_fixture t;
  t.open("convert/src.nsma");
  t.w->actions().views[3]->trigger();
  t.settle();
  t.type(t.w->cuts().emr()->power, "25");
  t.click(t.w->cuts().emr()->refresh);
  EXPECT_FLOAT_EQ(t.st->emr.epower, 25.0f);
  const std::size_t boxes = t.ui.boxes.size();
  for (const char* bad : {"-5", "abc", "12 W", "nan"}) {
    t.type(t.w->cuts().emr()->power, bad);
    t.click(t.w->cuts().emr()->refresh);
    EXPECT_FLOAT_EQ(t.st->emr.epower, 25.0f) << bad << " must not replace the last good value";
    EXPECT_EQ(t.w->cuts().emr()->power->text().toStdString(), "25.0") << bad;
  }
  ASSERT_EQ(t.ui.boxes.size(), boxes + 4);
  EXPECT_EQ(t.ui.boxes.back().caption, "EMR input");
  EXPECT_NE(t.ui.boxes.back().text.find("Tx power (W) must be a number, 0 or more."), std::string::npos);
  EXPECT_FALSE(t.painted("nan"));
}

TEST(WindowFrame, DialogTextsShowWhole) {
  antenna_data_type pd{};
  set_field(pd.descr1, "first line");
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.push_back(std::make_unique<ant_version_dialog_box>(nullptr));
  dialogs.push_back(std::make_unique<nec_column_dialog_box>(nullptr));
  dialogs.push_back(std::make_unique<description_dialog_box>(nullptr, pd));
  dialogs.push_back(std::make_unique<dsa_ip_dialog_box>(nullptr, "127.0.0.1"));
  for (auto& d : dialogs) {
    SCOPED_TRACE(d->windowTitle().toStdString());
    d->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    const auto children = d->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* c : children) {
      EXPECT_TRUE(d->rect().contains(c->geometry())) << name_of(c);
      QString text;
      int margin = 0;
      if (auto* b = qobject_cast<QPushButton*>(c)) text = b->text(), margin = 8;
      if (auto* l = qobject_cast<QLabel*>(c)) text = l->text();
      if (!text.isEmpty()) {
        EXPECT_LE(c->fontMetrics().horizontalAdvance(text) + margin, c->width()) << text.toStdString() << " is cut off";
        EXPECT_LE(c->fontMetrics().height(), c->height()) << text.toStdString() << " is cut off below";
      }
      for (QWidget* o : children) {
        if (o == c) continue;
        EXPECT_FALSE(c->geometry().intersects(o->geometry())) << name_of(c) << " overlaps " << name_of(o);
      }
    }
    d->hide();
  }
}

TEST(SerialPorts, OnlyUsbAdaptersWithoutAPortsSection) {
  // A built-in port only when the settings name it; anything with a vendor id is a plugged-in adapter.
  for (const auto& [name, vendor, candidate] : {std::tuple{"ttyS0", false, false}, {"ttyS4", true, false},
                                                {"ttyUSB0", false, true}, {"ttyACM1", false, true},
                                                {"rfcomm0", true, true}, {"ttyAMA0", false, false}})
    EXPECT_EQ(is_test_range_candidate(name, vendor), candidate) << name;
}

}  // namespace
}  // namespace lobe
