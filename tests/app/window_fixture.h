// The real main window, shown on whatever platform the tests run on
// (offscreen, or xcb under a window manager), with scripted answers to every
// dialog and a link that records what the window sends.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/resource_ids.h"
#include "app/scripted_ui.h"
#include "core/session/antenna_loader.h"
#include "core/formats/envelope_file.h"
#include "support/test_support.h"

namespace lobe {

class recording_link : public range_link {
 public:
  void write_com_port(int code) override { sent.push_back(code); }
  void dsa_set_d(int req, int f) override { dsa.push_back({req, f}); }
  void dsa_req(int req) override { dsa.push_back({req, -1}); }
  std::vector<int> sent;
  std::vector<std::pair<int, int>> dsa;
};

struct window_fixture {
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;
  recording_link link;
  scripted_ui ui;
  test::temp_dir dir;
  std::unique_ptr<main_window> w;

  // `startup_file` is opened as a path on the command line is: before the
  // window is shown or laid out.
  explicit window_fixture(bool edit = true, bool capture = false, bool envelopes = false,
                          const char* startup_file = nullptr) {
    st->settings.edit_enabled = edit ? 1 : 0;
    window_state ws;
    st->range.capture_enabled = capture ? 1 : 0;
    ws.documents_folder = dir.path();
    if (envelopes) ws.env_file_open = read_envelope_file(st->ed, test::data_path("envelopes/quirks.csv"));
    w = std::make_unique<main_window>(*st, log, link, ws, &ui);
    w->resize(1280, 820);
    if (startup_file) {
      w->show_report(open_file_on_startup(*st, log, test::data_path(startup_file)), "open_file_on_startup()");
      w->mainwindow_size();
    }
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    settle();
  }
  // On a real desktop the window manager answers a resize in its own time.
  void resize_to(int width, int height) {
    w->resize(width, height);
    for (int i = 0; i < 100 && w->size() != QSize(width, height); ++i) QTest::qWait(20);
    settle();
  }
  ~window_fixture() {
    w->hide();
    QApplication::processEvents();
  }
  static void settle() {
    QApplication::processEvents();
    QApplication::processEvents();
  }
  void open(const std::string& rel) {
    ui.file_names.push_back(test::data_path(rel));
    click(w->commands().open);
  }
  void click(QAbstractButton* b) {
    ASSERT_NE(b, nullptr) << "no such button";
    b->click();
    settle();
  }
  // The header edit of the field named `field`, on the pane shown.
  QLineEdit* edit(const char* field) { return w->header().edit(field); }
  void type(const char* field, const char* text) { type(edit(field), text); }
  void type(QLineEdit* e, const char* text) {
    ASSERT_NE(e, nullptr) << "no such edit";
    e->selectAll();
    QTest::keyClicks(e, QString::fromLatin1(text));
  }
  const cut_table::cut_row& row(int f, int c) {
    const cut_table::cut_row* r = w->cuts().row(f, c);
    EXPECT_NE(r, nullptr) << "no row for cut " << c << " of frequency " << f;
    static const cut_table::cut_row none{};
    return r ? *r : none;
  }
  const window_actions& actions() const { return w->actions(); }
  // A click where a user clicks: on whatever widget stands at (x, y) of the client area.
  void click_at(int x, int y) {
    QWidget* target = w->client()->childAt(x, y);
    if (!target) target = w->client();
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(w->client(), QPoint(x, y)));
    settle();
  }
  const cut_data_type& cut(int f, int c) const { return st->pd.freq[f].cut[c]; }
  // Whether the frame, painted now, shows a text containing `part`.
  bool painted(const std::string& part) {
    w->client()->repaint();
    for (const auto& text : w->painted_texts())
      if (text.text.find(part) != std::string::npos) return true;
    return false;
  }
};

}  // namespace lobe
