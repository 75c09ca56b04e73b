// The real window, offscreen, driven through its widgets with scripted
// answers to every dialog.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <set>
#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "app/scripted_ui.h"
#include "app/startup.h"
#include "core/formats/antenna_loader.h"
#include "core/record/cut_editing.h"
#include "core/range/range_codes.h"
#include "core/formats/envelope_file.h"
#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "support/test_support.h"
#include "app/window_fixture.h"

namespace lobe {
namespace {

TEST(MainWindow, StartsEmptyWithTheFrameOfItsMode) {
  window_fixture view(false);
  EXPECT_EQ(view.w->windowTitle().toStdString(), "Lobeview");
  EXPECT_EQ(view.w->status_text(STB_VERSION), "Version 12.2");
  EXPECT_FALSE(view.w->control(IDC_BUTTON_SAVE)->isVisible());
  EXPECT_FALSE(view.w->control(IDC_BUTTON_NEW_FR)->isVisible());
  EXPECT_TRUE(view.edit(IDC_PD_MAKE)->isReadOnly());
  EXPECT_EQ(view.w->menu_titles(), (std::vector<std::string>{"&File", "&View", "&Help"}));
  EXPECT_EQ(view.w->layout().rRectArea.right, view.w->client()->width() - 165);

  window_fixture full(true);
  EXPECT_EQ(full.w->status_text(STB_VERSION), "Version 12.2x");
  EXPECT_TRUE(full.w->control(IDC_BUTTON_SAVE)->isVisible());
  EXPECT_FALSE(full.w->control(IDC_BUTTON_UNDO)->isEnabled());
  EXPECT_FALSE(full.w->control(IDC_BUTTON_NEW_FR)->isVisible()) << "the test range's alone";
  EXPECT_FALSE(full.edit(IDC_PD_MAKE)->isReadOnly());
  EXPECT_EQ(full.w->menu_titles(), (std::vector<std::string>{"&File", "&View", "&Help", "Labs"}));
  EXPECT_TRUE(full.w->menu_action(ID_VIEW_POLAR)->isChecked());
}

TEST(MainWindow, OpenEditSaveAndReadBack) {
  window_fixture t;
  t.open("convert/src.nsma");
  ASSERT_EQ(t.st->pd.nofreq, 2);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "src.nsma");
  EXPECT_TRUE(t.w->control(IDC_BUTTON_UNDO)->isEnabled());
  EXPECT_EQ(t.ui.file_requests.back().default_extension, "nsma");
  EXPECT_EQ(t.ui.file_requests.back().filters.size(), 5u);
  EXPECT_EQ(t.edit(IDC_PD_NAME)->text().toStdString(), "CONV-1");

  t.type(IDC_PD_NAME, "Edited model");
  t.type(row_control_id(row_control::patcut, 3), "el");  // frequency 0, cut 1
  t.type(row_control_id(row_control::polari, 3), "h/v");
  t.click(IDC_RBUTTON_PERF);  // the Description texts reach the record on the pane switch
  EXPECT_STREQ(t.st->pd.name, "Edited model");
  t.type(IDC_PD_GUNITS, "dbi/dbd");
  const std::string out = t.dir.file("edited.nsma");
  t.ui.file_names.push_back(out);
  t.click(IDC_BUTTON_SAVE);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "edited.nsma");

  test::harness back;
  ASSERT_TRUE(open_file(*back.st, back.log, out, "nsma").ok);
  EXPECT_STREQ(back.st->pd.name, "Edited model");
  EXPECT_STREQ(back.st->pd.gunits, "DBI/DBD");
  EXPECT_STREQ(back.cut(0, 1).patcut, "EL");
  EXPECT_STREQ(back.cut(0, 1).polari, "H/V");
  EXPECT_EQ(back.cut(1, 1).nupoin, 360);

  // Back on the Description pane the typed model is still there.
  t.click(IDC_RBUTTON_DESC);
  EXPECT_EQ(t.edit(IDC_PD_NAME)->text().toStdString(), "Edited model");
}

TEST(MainWindow, SaveChoosesWriterDialogAndNotices) {
  window_fixture t;
  t.click(IDC_BUTTON_SAVE);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text, "Nothing to save.");
  EXPECT_FALSE(t.w->control(IDC_BUTTON_UNDO)->isEnabled()) << "nothing to save leaves Undo alone";

  t.open("convert/src.nsma");
  const std::string ant = t.dir.file("out.ant");
  t.ui.file_names.push_back(ant);
  t.ui.ant_versions.push_back({1, AFT_ANT_V2});
  t.click(IDC_BUTTON_SAVE);
  std::size_t lines = 0;
  for (char c : test::read_bytes(ant)) lines += c == '\n';
  EXPECT_EQ(lines, 541u);

  t.ui.file_names.push_back(t.dir.file("closed.ant"));
  t.ui.ant_versions.push_back({2, 0});
  t.click(IDC_BUTTON_SAVE);
  EXPECT_FALSE(std::filesystem::exists(t.dir.file("closed.ant"))) << "closing the dialog abandons the save";

  t.ui.file_names.push_back(t.dir.file("out.pla"));
  t.click(IDC_BUTTON_SAVE);
  EXPECT_EQ(t.ui.boxes.back().caption, "IDC_BUTTON_SAVE processing");
  EXPECT_EQ(t.ui.boxes.back().icon, message_icon::information);
  EXPECT_EQ(t.ui.file_requests.back().default_extension, "ant") << "the last save was ANT";
}

// What core reports, the window shows in a box captioned for the command that ran.
TEST(MainWindow, ReportsAreCaptionedForTheirCommand) {
  window_fixture t;
  t.ui.file_names.push_back(t.dir.file("missing.nsma"));
  t.click(IDC_BUTTON_OPEN);
  const std::string lf = t.dir.file("lf.pla");
  test::write_bytes(lf, "NAME X\nFREQUENCY 900\nHORIZONTAL 2\n0 0\n1 1\n");
  t.ui.file_names.push_back(lf);
  t.click(IDC_BUTTON_OPEN);
  t.w->drop_file(t.dir.file("gone.labz"));
  ASSERT_EQ(t.ui.boxes.size(), 3u);
  EXPECT_EQ(t.ui.boxes[0].text, "Unable to open antenna file.");
  EXPECT_EQ(t.ui.boxes[0].caption, "ID_FILE_OPEN processing");
  EXPECT_EQ(t.ui.boxes[0].icon, message_icon::error);
  EXPECT_EQ(t.ui.boxes[1].caption, "Opening the file");
  EXPECT_EQ(t.ui.boxes[1].icon, message_icon::warning);
  EXPECT_EQ(t.ui.boxes[2].caption, "open_file_on_startup()");
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "lf.pla") << "the failed drop left the file name";
}

TEST(MainWindow, RowsIdsAddAndDelete) {
  window_fixture t(true, true);
  t.click(IDC_BUTTON_NEW_FR);
  t.click(IDC_BUTTON_NEW_FR);
  ASSERT_EQ(t.st->pd.nofreq, 2);
  for (int f = 0; f < 2; ++f)
    for (int i = 0; i < 3; ++i) t.click(IDC_PD_ADDCUT + f);
  ASSERT_EQ(t.st->pd.freq[1].numcut, 3);
  // Cuts of frequency 0 on lines 2..4, frequency 1's on lines 8..10.
  EXPECT_NE(t.w->control(948), nullptr) << "+ of frequency 1, cut 0";
  EXPECT_NE(t.w->control(824), nullptr) << "delete of frequency 0, cut 2";
  EXPECT_EQ(t.w->control(IDC_PD_PATCUT + 5), nullptr) << "line 5 is the separator";
  t.type(row_control_id(row_control::patcut, 3), "b");
  t.type(row_control_id(row_control::patcut, 4), "c");
  qobject_cast<QCheckBox*>(t.w->control(IDC_PD_SHOWHIDE + 2))->click();
  t.settle();
  EXPECT_EQ(t.st->flags.cut[0][0].hide, 1);

  t.ui.answers.push_back(IDNO);
  t.click(IDC_PD_DELETE + 2);
  EXPECT_EQ(t.st->pd.freq[0].numcut, 3) << "No keeps the cut";
  t.click(IDC_PD_DELETE + 2);  // Yes
  EXPECT_EQ(t.ui.boxes.back().text, "Do you really want to\ndelete this cut?");
  ASSERT_EQ(t.st->pd.freq[0].numcut, 2);
  EXPECT_STREQ(t.cut(0, 0).patcut, "B");
  EXPECT_STREQ(t.cut(0, 1).patcut, "C");
  EXPECT_EQ(t.st->flags.cut[0][0].hide, 1) << "the row keeps its show state";
  EXPECT_EQ(t.w->control(IDC_PD_PATFRE + 1)->geometry().y(), t.w->layout().rFreqDataArea.top + 5 + 25 * 5);
  for (int i = 0; i < 10; ++i) t.click(IDC_PD_ADDCUT + 1);
  EXPECT_EQ(t.st->pd.freq[1].numcut, MAX_CUTS);
  EXPECT_EQ(t.link.dsa.back(), std::make_pair(DSA_REQ_PWR, -1));
}

TEST(MainWindow, LargestRecordKeepsIdsApart) {
  window_fixture t;
  for (int f = 0; f < MAX_FREQ; ++f) test::put_full_cut(*t.st, f, MAX_CUTS - 1, "H", [](int) { return 0.0; });
  t.click(IDC_RBUTTON_PERF);  // rebuild from the record
  std::set<int> ids;
  int rows = 0;
  for (int line = 0; line < 140; ++line)
    for (int k = 0; k <= static_cast<int>(row_control::mavg); ++k) {
      const int id = row_control_id(static_cast<row_control>(k), line);
      if (!t.w->control(id)) continue;
      EXPECT_TRUE(ids.insert(id).second) << id;
      rows += k == 0;
    }
  EXPECT_EQ(rows, MAX_FREQ * MAX_CUTS);
  const int last_line = 3 * 11 + 2 + 11 * 8 + 7;
  EXPECT_GE(last_line, 100);
  QWidget* plus = t.w->control(row_control_id(row_control::plus, last_line));
  ASSERT_NE(plus, nullptr);
  t.cut(11, 7);
  t.st->pd.freq[11].cut[7].signal[0] = 5.0f;
  qobject_cast<QPushButton*>(plus)->click();
  EXPECT_FLOAT_EQ(t.cut(11, 7).signal[1], 5.0f) << "the last row's + shifts the last cut";
}

TEST(MainWindow, ZoomScaleViewsAndMenus) {
  window_fixture t;
  for (int i = 0; i < 6; ++i) t.click(IDC_BUTTON_ZOOM);
  EXPECT_EQ(t.st->view.centre_db_ix, 4);
  t.st->view.centre_db_ix = 0;
  t.click(IDC_BUTTON_ZOOM);
  EXPECT_EQ(t.st->view.centre_db_ix, 5);
  EXPECT_EQ(t.w->layout().plot_radius % 5, 0);

  t.click(IDC_RBUTTON_MV);
  EXPECT_EQ(t.st->view.mv_display, 1);
  EXPECT_FALSE(t.w->control(IDC_RBUTTON_LOG)->isEnabled());
  EXPECT_FALSE(t.w->control(IDC_BUTTON_ZOOM)->isEnabled());
  t.click(IDC_RBUTTON_DB);
  EXPECT_TRUE(t.w->control(IDC_BUTTON_ZOOM)->isEnabled());

  for (int id : {ID_VIEW_CART, ID_VIEW_CART90, ID_VIEW_EMR, ID_VIEW_POLAR, ID_VIEW_CART}) {
    t.w->menu_action(id)->trigger();
    t.settle();
  }
  EXPECT_EQ(t.st->view.display_type, DISPLAY_TYPE_RECT);
  int checked = 0;
  for (int id : {ID_VIEW_POLAR, ID_VIEW_CART, ID_VIEW_CART90, ID_VIEW_EMR}) checked += t.w->menu_action(id)->isChecked();
  EXPECT_EQ(checked, 1);
  EXPECT_TRUE(t.w->menu_action(ID_VIEW_CART)->isChecked());
  int test_range_items = 0;
  for (QAction* a : t.w->menuBar()->actions()[2]->menu()->actions()) test_range_items += a->text() == "Test Range";
  EXPECT_EQ(test_range_items, 1);

  t.w->menu_action(ID_LABS_SCALE_TO_MAX)->trigger();
  EXPECT_EQ(t.st->view.scale_to_max_mode, 1);
}

TEST(MainWindow, EnvelopeMenuSwitchesTheActiveMask) {
  window_fixture t(true, false, true);
  EXPECT_EQ(t.w->menu_titles(), (std::vector<std::string>{"&File", "&View", "&Help", "Envelopes", "Labs"}));
  t.w->menu_action(ID_ENV_1 + 2)->trigger();
  EXPECT_EQ(t.st->ed.env[2].display, 1);
  EXPECT_TRUE(t.w->menu_action(ID_ENV_1 + 2)->isChecked());
  t.w->menu_action(ID_ENV_1 + 1)->trigger();
  EXPECT_EQ(t.st->ed.env[2].display, 0);
  EXPECT_FALSE(t.w->menu_action(ID_ENV_1 + 2)->isChecked());
  t.w->menu_action(ID_ENV_1 + 1)->trigger();
  EXPECT_EQ(active_envelope(t.st->ed), nullptr) << "choosing the shown envelope again hides it";
}

TEST(MainWindow, ColourPickFollowsTheCutRows) {
  window_fixture t;
  t.open("convert/src.nsma");
  const lobe::rect fr = t.w->layout().rFreqDataArea;
  t.ui.colours.push_back(rgb(1, 2, 3));
  t.click_at(fr.left + 30, fr.top + 25 * 7 + 10);  // the first cut row of the second frequency
  EXPECT_EQ(t.st->settings.gr_colours[2], rgb(1, 2, 3));
  t.ui.colours.push_back(rgb(9, 9, 9));
  t.click_at(fr.left + 30, fr.top + 25 * 5 + 10);  // a frequency line: nothing
  EXPECT_EQ(t.ui.colours.size(), 1u);
  t.w->menu_action(ID_LABS_RESET_COLOURS)->trigger();
  EXPECT_EQ(t.st->settings.gr_colours, gr_colours_init());
}

TEST(MainWindow, ClearAllUndoAndMirror) {
  window_fixture t;
  t.open("convert/src.nsma");
  const std::vector<float> before(t.cut(0, 0).signal, t.cut(0, 0).signal + 360);
  t.click(row_control_id(row_control::mavg, 2));
  EXPECT_NE(t.cut(0, 0).signal[1], before[1]);
  t.click(IDC_BUTTON_UNDO);
  EXPECT_EQ(std::vector<float>(t.cut(0, 0).signal, t.cut(0, 0).signal + 360), before);

  t.w->menu_action(ID_LABS_MIRROR_TOP)->trigger();
  EXPECT_TRUE(t.ui.boxes.empty()) << "a 360-point cut mirrors without a message";
  for (int f = 0; f < 2; ++f)
    for (int c = 0; c < 2; ++c) t.st->flags.cut[f][c].hide = 1;
  t.w->menu_action(ID_LABS_MIRROR_LEFT)->trigger();
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text, "No cut found to mirror");
  EXPECT_EQ(t.ui.boxes[0].caption, "mirror_cut_data()");

  t.ui.answers.push_back(IDNO);
  t.click(IDC_BUTTON_NEW);
  EXPECT_EQ(t.st->pd.nofreq, 2);
  t.click(IDC_BUTTON_NEW);
  EXPECT_EQ(t.ui.boxes.back().text, "Do you really want to\ndiscard all the data?");
  EXPECT_EQ(t.st->pd.nofreq, 0);
  EXPECT_EQ(t.st->file.filename_set, 0);
  EXPECT_FALSE(t.w->control(IDC_BUTTON_UNDO)->isEnabled());
  EXPECT_EQ(t.w->control(IDC_PD_PATFRE), nullptr);
}

TEST(MainWindow, DescriptionDialogFromTheStrip) {
  window_fixture t;
  const lobe::rect d = t.w->layout().rDescArea;
  t.ui.description_edits.push_back([](antenna_data_type& pd) {
    set_field(pd.descr1, "typed in the dialog");
    return 1;
  });
  t.click_at(d.left + 50, d.top + 20);
  EXPECT_STREQ(t.st->pd.descr1, "typed in the dialog");
  ASSERT_EQ(t.ui.anchors.size(), 1u);
  const QPoint centre = t.w->client()->mapToGlobal(QPoint(t.w->layout().plot_centre_x, t.w->layout().plot_centre_y));
  EXPECT_EQ(t.ui.anchors[0].x, centre.x());
  t.click_at(d.left + 50, d.top + 20);  // the script has no edit left: Cancel
  EXPECT_STREQ(t.st->pd.descr1, "typed in the dialog");

  window_fixture view(false);
  view.click_at(d.left + 50, d.top + 20);
  EXPECT_TRUE(view.ui.anchors.empty()) << "view mode has no description dialog";
}

TEST(MainWindow, FourNecColumnDialogAndCancel) {
  window_fixture t;
  t.ui.file_names.push_back(test::data_path("4nec/four_columns.txt"));
  t.ui.nec_columns.push_back({2, {0, 0}});
  t.click(IDC_BUTTON_OPEN);
  EXPECT_EQ(t.st->pd.nofreq, 0);
  EXPECT_FALSE(t.w->control(IDC_BUTTON_UNDO)->isEnabled()) << "cancelling the column dialog ends the command";
  t.ui.file_names.push_back(test::data_path("4nec/four_columns.txt"));
  t.ui.nec_columns.push_back({1, {2, 3}});
  t.click(IDC_BUTTON_OPEN);
  ASSERT_EQ(t.st->pd.nofreq, 1);
  EXPECT_FLOAT_EQ(t.cut(0, 0).angle[0], 355.0f);
}

TEST(MainWindow, EmrMessageAfterThePaintOnlyOnce) {
  window_fixture t;
  t.open("ant/v1_negative.ant");
  t.w->menu_action(ID_VIEW_EMR)->trigger();
  t.w->client()->repaint();
  t.settle();
  t.w->client()->repaint();
  t.settle();
  int shown = 0;
  for (const auto& b : t.ui.boxes) shown += b.text == "Select a vertical (V or EL) cut to display the EMR chart";
  EXPECT_EQ(shown, 1);
  t.w->menu_action(ID_VIEW_POLAR)->trigger();
  t.w->menu_action(ID_VIEW_EMR)->trigger();
  t.w->client()->repaint();
  t.settle();
  shown = 0;
  for (const auto& b : t.ui.boxes) shown += b.text == "Select a vertical (V or EL) cut to display the EMR chart";
  EXPECT_EQ(shown, 2) << "a new view asks again";
}

TEST(MainWindow, PrintToPdf) {
  window_fixture t;
  t.open("convert/src.nsma");
  const std::string pdf = t.dir.file("page.pdf");
  t.ui.printer_setup = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf));
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  };
  t.click(IDC_BUTTON_PRINT);
  EXPECT_EQ(t.w->state().landscape, 1);
  const std::string bytes = test::read_bytes(pdf);
  EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
  EXPECT_GT(bytes.size(), 10000u);
  EXPECT_TRUE(t.ui.boxes.empty());
}

TEST(MainWindow, HelpBoxesAndAbout) {
  window_fixture t;
  t.st->help.help_info_files = "\r\nfiles text";
  t.w->menu_action(ID_HELP_ABOUT)->trigger();
  t.w->menu_action(ID_HELP_FILE)->trigger();
  ASSERT_EQ(t.ui.boxes.size(), 2u);
  EXPECT_EQ(t.ui.boxes[0].caption, "About this program...");
  EXPECT_EQ(t.ui.boxes[0].text, "Lobeview Version 12.2\r\nAntenna data capture and plot\r\n");
  EXPECT_EQ(t.ui.boxes[1].caption, "File types");
  EXPECT_EQ(t.ui.boxes[1].text, "\r\nfiles text");
}

TEST(MainWindow, DroppedFileAndQuotes) {
  window_fixture t;
  t.w->drop_file(test::data_path("convert/src.labz"));
  EXPECT_EQ(t.st->file.file_type, FT_LABZ);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "File: src.labz");
  EXPECT_EQ(strip_quotes("\"C:\\\"dir\\\"\\x.nsma\""), "C:\\\"dir\\\"\\x.nsma");
  EXPECT_EQ(strip_quotes("\"/tmp/a b.nsma\""), "/tmp/a b.nsma");
}

TEST(MainWindow, PaletteSavedOnCloseInFullModeOnly) {
  {
    window_fixture view(false);
    view.w->close();
    EXPECT_FALSE(std::filesystem::exists(view.dir.file("lobeview.ini")));
  }
  window_fixture full(true);
  full.w->close();
  EXPECT_NE(test::read_bytes(full.dir.file("lobeview.ini")).find("[Palette]\r\n00=0x000000"), std::string::npos);
}

}  // namespace
}  // namespace lobe
