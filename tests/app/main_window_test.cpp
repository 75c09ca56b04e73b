// The real window, driven through its widgets with scripted answers to every
// dialog.
#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <filesystem>
#include <set>
#include <signal.h>
#include <sys/resource.h>

#include "app/startup.h"
#include "app/window_fixture.h"
#include "core/analysis/mask_check.h"
#include "core/session/antenna_loader.h"
#include "core/range/range_codes.h"
#include "core/text/field_text.h"

namespace lobe {
namespace {

TEST(MainWindow, OpenEditSaveAndReadBack) {
  window_fixture t;
  t.open("convert/src.nsma");
  ASSERT_EQ(t.st->pd.nofreq, 2);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "src.nsma");
  EXPECT_TRUE(t.w->commands().undo->isEnabled());
  EXPECT_EQ(t.ui.file_requests.back().filters.size(), 5u);
  t.type("name", "Edited model");
  t.type(t.row(0, 1).patcut, "el");
  t.type(t.row(0, 1).polari, "h/v");
  t.type(t.w->cuts().freqs()[1].patfre, "1234.5");
  t.click(t.w->commands().performance);  // the Description texts reach the record on the pane switch
  EXPECT_STREQ(t.st->pd.name, "Edited model");
  t.type("gunits", "dbi/dbd");
  const std::string out = t.dir.file("edited.nsma");
  t.ui.file_names.push_back(out);
  t.click(t.w->commands().save);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "edited.nsma");
  test::harness back;
  ASSERT_TRUE(open_file(*back.st, back.log, out, "nsma").ok);
  EXPECT_STREQ(back.st->pd.name, "Edited model");
  EXPECT_STREQ(back.st->pd.gunits, "DBI/DBD") << "typed on the pane shown when saving";
  EXPECT_STREQ(back.cut(0, 1).patcut, "EL");
  EXPECT_STREQ(back.cut(0, 1).polari, "H/V");
  EXPECT_STREQ(back.st->pd.freq[1].patfre, "1234.5");
  t.click(t.w->commands().description);
  EXPECT_EQ(t.edit("name")->text().toStdString(), "Edited model");
}

// What core reports, the window shows in a box captioned for the command
// that ran: nothing to save, files that cannot be read (gone after the
// dialog, a folder) or written (a place nobody may write, a disk that fills
// up mid-save: the user's previous file is kept), LF-only files, notices.
TEST(MainWindow, SavesAndLoadsTellWhatHappenedCaptionedForTheirCommand) {
  window_fixture t;
  t.log.open(t.dir.path());
  t.click(t.w->commands().save);
  for (const std::string& unreadable : {t.dir.file("missing.nsma"), t.dir.path()}) {
    t.ui.file_names.push_back(unreadable);
    t.click(t.w->commands().open);
  }
  const std::string lf = t.dir.file("lf.pla");
  test::write_bytes(lf, "NAME X\nFREQUENCY 900\nHORIZONTAL 2\n0 0\n1 1\n");
  t.ui.file_names.push_back(lf);
  t.click(t.w->commands().open);
  t.w->drop_file(t.dir.file("gone.labz"));
  t.open("convert/src.nsma");
  t.ui.file_names.push_back(t.dir.file("out.pla"));
  t.click(t.w->commands().save);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "out.pla");
  EXPECT_EQ(t.ui.file_requests.back().default_extension, "nsma");
  t.ui.file_names.push_back("/proc/self/pattern.nsma");
  t.click(t.w->commands().save);
  const std::string keep = t.dir.file("keep.nsma");
  test::write_bytes(keep, "the user's previous file");
  signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  t.ui.file_names.push_back(keep);
  t.click(t.w->commands().save);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(test::read_bytes(keep), "the user's previous file");
  EXPECT_EQ(test::files_in(t.dir.path()), 4u) << "lf.pla, out.pla, keep.nsma and the log: no temporary file";
  EXPECT_EQ(t.st->pd.nofreq, 2) << "the pattern on screen is kept";
  const std::vector<std::tuple<std::string, std::string, message_icon>> expected = {
      {"Nothing to save.", "IDC_BUTTON_SAVE processing", message_icon::error},
      {"Unable to open antenna file.", "ID_FILE_OPEN processing", message_icon::error},
      {"Unable to open antenna file.", "ID_FILE_OPEN processing", message_icon::error},
      {"", "Opening the file", message_icon::warning},
      {"Unable to open antenna file.", "open_file_on_startup()", message_icon::error},
      {"The Planet file format", "IDC_BUTTON_SAVE processing", message_icon::information},
      {"Unable to open antenna file.", "IDC_BUTTON_SAVE processing", message_icon::error},
      {"The file could not be written completely. Any previous file of that name was kept.",
       "IDC_BUTTON_SAVE processing", message_icon::error}};
  ASSERT_EQ(t.ui.boxes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& [text, caption, icon] = expected[i];
    EXPECT_EQ(t.ui.boxes[i].text.rfind(text, 0), 0u) << t.ui.boxes[i].text;
    EXPECT_EQ(t.ui.boxes[i].caption, caption);
    EXPECT_EQ(t.ui.boxes[i].icon, icon);
  }
  EXPECT_NE(test::read_bytes(t.dir.file("lobeview_log.txt")).find(" - write_planet_file - Write to planet file failed"),
            std::string::npos);
}

// A cut written as gains (levels of both signs) is said once on load; with
// Signed-levels=1 it is read as gains.
TEST(MainWindow, LevelsOfBothSignsAreSaidOnLoadAndReadAsGainsOnRequest) {
  const std::string file = "REVNUM:,x\r\nNOFREQ:,1\r\nPATFRE:,791\r\nNUMCUT:,1\r\nPATCUT:,V\r\nPOLARI:,V/V\r\n"
                           "NUPOIN:,3\r\nFSTLST:,-1,1\r\n-1,7.5\r\n0,10.0\r\n1,-20.0\r\n";
  for (bool gains : {false, true}) {
    window_fixture t;
    t.st->settings.signed_levels = gains;
    const std::string path = t.dir.file("gains.adf");
    test::write_bytes(path, file);
    t.ui.file_names.push_back(path);
    t.click(t.w->commands().open);
    ASSERT_EQ(t.ui.boxes.size(), 1u);
    EXPECT_EQ(t.ui.boxes[0].caption, "Opening the file");
    EXPECT_NE(t.ui.boxes[0].text.find("levels of both signs (from +10.00 to -20.00)"), std::string::npos);
    EXPECT_FLOAT_EQ(t.cut(0, 0).signal[2], gains ? 30.0f : 20.0f);
  }
}

// The Open and Save dialogs offer the formats of their mode, the one a save
// would write first, each named as the format table names it.
TEST(MainWindow, FileDialogsOfferTheFormatsOfTheirMode) {
  window_fixture t;
  auto offered = [&] {
    std::string all;
    for (const file_filter& f : t.ui.file_requests.back().filters) all += f.description + " " + f.pattern + "; ";
    return all;
  };
  t.click(t.w->commands().open);
  EXPECT_EQ(offered(), "NSMA Files (*.nsma) *.nsma; Planet Files (*.pla) *.pla; ADF Files (*.adf) *.adf; "
                       "ANT Files (*.ant) *.ant; All Files (*.*) *.*; ");
  t.open("convert/src.pla");
  t.click(t.w->commands().save);
  EXPECT_EQ(offered(), "Planet Files (*.pla) *.pla; NSMA Files (*.nsma) *.nsma; ANT Files (*.ant) *.ant; "
                       "All Files (*.*) *.*; ");
  t.st->range.capture_enabled = 1;
  t.click(t.w->commands().open);
  EXPECT_EQ(offered(), "NSMA Files (*.nsma) *.nsma; Planet Files (*.pla) *.pla; ADF Files (*.adf) *.adf; "
                       "ANT Files (*.ant) *.ant; LABZ Files (*.labz) *.labz; 4NEC Files (*.txt) *.txt; "
                       "All Files (*.*) *.*; ");
  t.click(t.w->commands().save);
  EXPECT_EQ(offered(), "LABZ Files (*.labz) *.labz; NSMA Files (*.nsma) *.nsma; Planet Files (*.pla) *.pla; "
                       "ANT Files (*.ant) *.ant; All Files (*.*) *.*; ");
}

TEST(MainWindow, AntSaveAsksTheVersionAndClosingTheDialogAbandons) {
  window_fixture t;
  t.open("convert/src.nsma");
  t.ui.file_names.push_back(t.dir.file("out.ant"));
  t.ui.ant_versions.push_back({1, AFT_ANT_V2});
  t.click(t.w->commands().save);
  EXPECT_EQ(test::lines_in(test::read_bytes(t.dir.file("out.ant"))), 541u);
  t.ui.file_names.push_back(t.dir.file("closed.ant"));
  t.ui.ant_versions.push_back({2, 0});
  t.click(t.w->commands().save);
  EXPECT_FALSE(std::filesystem::exists(t.dir.file("closed.ant")));
  t.click(t.w->commands().save);
  EXPECT_EQ(t.ui.file_requests.back().default_extension, "ant") << "the last save was ANT";
}

TEST(MainWindow, RowsIdsAddAndDelete) {
  window_fixture t(true, true);
  t.click(t.w->commands().add_freq);
  t.click(t.w->commands().add_freq);
  for (int f = 0; f < 2; ++f)
    for (int i = 0; i < 3; ++i) t.click(t.w->cuts().freqs()[static_cast<std::size_t>(f)].add_cut);
  ASSERT_EQ(t.st->pd.freq[1].numcut, 3);
  ASSERT_EQ(t.w->cuts().cuts().size(), 6u);
  // Cuts of frequency 0 on lines 2..4, frequency 1's on lines 8..10; line 5 separates them.
  const panel_rows rows(t.st->pd, t.w->layout().rFreqDataArea.top);
  EXPECT_EQ(t.row(0, 2).patcut->y(), rows.y(4, 5));
  EXPECT_EQ(t.row(1, 0).patcut->y(), rows.y(8, 5));
  t.type(t.row(0, 1).patcut, "b");
  t.type(t.row(0, 2).patcut, "c");
  t.row(0, 0).shown->click();
  t.settle();
  EXPECT_EQ(t.st->flags.cut[0][0].hide, 1);
  t.ui.answers.push_back(IDNO);
  t.click(t.row(0, 0).del);
  EXPECT_EQ(t.st->pd.freq[0].numcut, 3) << "No keeps the cut";
  t.click(t.row(0, 0).del);  // Yes
  EXPECT_EQ(t.ui.boxes.back().text, "Do you really want to\ndelete this cut?");
  ASSERT_EQ(t.st->pd.freq[0].numcut, 2);
  EXPECT_STREQ(t.cut(0, 0).patcut, "B");
  EXPECT_STREQ(t.cut(0, 1).patcut, "C");
  EXPECT_EQ(t.st->flags.cut[0][0].hide, 1) << "the row keeps its show state";
  for (int i = 0; i < 10; ++i) t.click(t.w->cuts().freqs()[1].add_cut);
  EXPECT_EQ(t.st->pd.freq[1].numcut, MAX_CUTS);
  EXPECT_EQ(t.link.dsa.back(), std::make_pair(DSA_REQ_PWR, -1));
  // A row's sweep tunes the analyser to the row's own frequency, then turns the table.
  t.link.dsa.clear();
  t.click(t.row(1, 2).sweep);
  EXPECT_EQ(t.link.dsa, (std::vector<std::pair<int, int>>{{DSA_SET_FREQ, 1}, {DSA_REQ_PWR, -1}}));
  EXPECT_EQ(t.link.sent.back(), COM_TX_SWEEP);
  EXPECT_EQ(std::make_pair(t.st->edit.capture_freq, t.st->edit.capture_cut), std::make_pair(1, 2));
}

// The largest record: every row has controls of its own, and each row's "+"
// shifts its own cut and no other.
TEST(MainWindow, EveryRowOfTheLargestRecordActsOnItsOwnCut) {
  window_fixture t;
  for (int f = 0; f < MAX_FREQ; ++f)
    for (int c = 0; c < MAX_CUTS; ++c) test::put_full_cut(*t.st, f, c, "H", [](int a) { return a % 7; });
  t.click(t.w->commands().performance);  // rebuild from the record
  std::set<QPushButton*> pluses;
  for (const cut_table::cut_row& r : t.w->cuts().cuts()) pluses.insert(r.plus);
  ASSERT_EQ(pluses.size(), static_cast<std::size_t>(MAX_FREQ * MAX_CUTS));
  std::set<std::pair<int, int>> shifted;
  for (QPushButton* plus : pluses) {
    ASSERT_NE(plus, nullptr);
    std::vector<float> before;
    for (int f = 0; f < MAX_FREQ; ++f)
      for (int c = 0; c < MAX_CUTS; ++c) before.push_back(t.cut(f, c).signal[1]);
    plus->click();
    int changed = 0;
    for (int f = 0; f < MAX_FREQ; ++f)
      for (int c = 0; c < MAX_CUTS; ++c)
        if (t.cut(f, c).signal[1] != before[static_cast<std::size_t>(f * MAX_CUTS + c)]) {
          ++changed;
          EXPECT_TRUE(shifted.insert({f, c}).second) << f << "," << c << " shifted twice";
        }
    EXPECT_EQ(changed, 1);
  }
  EXPECT_EQ(shifted.size(), static_cast<std::size_t>(MAX_FREQ * MAX_CUTS));
}

TEST(MainWindow, ZoomScaleViewsAndMenus) {
  window_fixture t(true, false, true);
  t.st->view.centre_db_ix = 0;
  t.click(t.w->chart().zoom);
  EXPECT_EQ(t.st->view.centre_db_ix, 5) << "zooming wraps round";
  t.click(t.w->commands().mv_scale);
  EXPECT_FALSE(t.w->chart().zoom->isEnabled());
  t.click(t.w->commands().db_scale);
  EXPECT_TRUE(t.w->chart().zoom->isEnabled());
  for (int view : {1, 2, 3, 0, 1}) t.actions().views[view]->trigger();
  EXPECT_EQ(t.st->view.display_type, DISPLAY_TYPE_RECT);
  int checked = 0;
  for (QAction* view : t.actions().views) checked += view->isChecked();
  EXPECT_EQ(checked, 1);
  // The envelope menu: one mask shown at a time; choosing it again hides it.
  t.w->actions().envelopes[2]->trigger();
  t.w->actions().envelopes[1]->trigger();
  EXPECT_EQ(t.st->ed.env[2].display, 0);
  EXPECT_FALSE(t.w->actions().envelopes[2]->isChecked());
  EXPECT_TRUE(t.w->actions().envelopes[1]->isChecked());
  t.w->actions().envelopes[1]->trigger();
  EXPECT_EQ(active_envelope(t.st->ed), nullptr);
  EXPECT_FALSE(t.w->actions().envelopes[1]->isChecked());
  // Scale to strongest: the mark and the notice follow the mode, and every open turns it off.
  QAction* scale = t.w->actions().scale_to_max;
  scale->trigger();
  t.settle();
  EXPECT_TRUE(scale->isChecked() && t.st->view.scale_to_max_mode == 1 && t.painted(SCALE_TO_MAX_NOTICE));
  t.open("convert/src.nsma");
  EXPECT_FALSE(scale->isChecked() || t.st->view.scale_to_max_mode || t.painted(SCALE_TO_MAX_NOTICE));
  // With a mask shown, View > Parameters says each shown cut's verdict against it.
  t.w->actions().envelopes[0]->trigger();
  t.w->actions().parameters->trigger();
  ASSERT_FALSE(t.ui.texts.empty());
  const std::string said = t.ui.texts.back().second;
  const std::string heading = std::string("\nAgainst the mask ") + t.st->ed.env[0].title + "\n";
  ASSERT_NE(said.find(heading), std::string::npos) << said;
  const std::string verdicts = said.substr(said.find(heading) + heading.size());
  EXPECT_EQ(test::lines_in(verdicts), check_pattern(t.st->pd, t.st->flags, t.st->ed.env[0]).size());
  EXPECT_NE(verdicts.find(" MHz "), std::string::npos) << verdicts;
}

TEST(MainWindow, ColourPickClearAllUndoAndMirror) {
  window_fixture t;
  t.open("convert/src.nsma");
  const lobe::rect fr = t.w->layout().rFreqDataArea;
  t.ui.colours.push_back(rgb(1, 2, 3));
  t.click_at(fr.left + 30, fr.top + 25 * 5 + 10);  // a frequency line: nothing
  t.click_at(fr.left + 30, fr.top + 25 * 7 + 10);  // the first cut row of the second frequency
  EXPECT_EQ(t.st->settings.gr_colours[2], rgb(1, 2, 3));
  const std::vector<float> before(t.cut(0, 0).signal, t.cut(0, 0).signal + 360);
  t.click(t.row(0, 0).mavg);
  EXPECT_NE(t.cut(0, 0).signal[1], before[1]);
  t.click(t.w->commands().undo);
  EXPECT_EQ(std::vector<float>(t.cut(0, 0).signal, t.cut(0, 0).signal + 360), before);
  t.w->actions().mirror[0]->trigger();
  EXPECT_TRUE(t.ui.boxes.empty()) << "a 360-point cut mirrors without a message";
  // View > Parameters: a row for each shown cut, under its heading.
  test::hide_cuts(*t.st, {{0, 0}});
  t.w->actions().parameters->trigger();
  ASSERT_EQ(t.ui.texts.size(), 1u);
  EXPECT_EQ(t.ui.texts[0].first, "Parameters");
  EXPECT_EQ(t.ui.texts[0].second.rfind("Freq      Cut    Pol      Peak", 0), 0u) << t.ui.texts[0].second;
  // The heading, three rows and the footnote of an F/B tot without a cross-polar cut.
  EXPECT_EQ(test::lines_in(t.ui.texts[0].second.substr(0, t.ui.texts[0].second.find("Directivity"))), 1u + 3u + 1u);
  test::hide_cuts(*t.st, {{0, 0}, {0, 1}, {1, 0}, {1, 1}});
  t.w->actions().mirror[3]->trigger();
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text, "No cut found to mirror");
  EXPECT_EQ(t.ui.boxes[0].caption, "mirror_cut_data()");
  // An empty cut is refused as an error; a short one is mirrored with a warning.
  test::put_cut(*t.st, 1, 2, "V", {});
  t.w->actions().mirror[3]->trigger();
  ASSERT_EQ(t.ui.boxes.size(), 2u);
  EXPECT_EQ(t.ui.boxes[1].text, "Cut has no points to mirror");
  EXPECT_EQ(t.ui.boxes[1].icon, message_icon::error);
  test::put_cut(*t.st, 1, 2, "V", {{0, 0}, {10, 3}, {20, 6}});
  t.w->actions().mirror[3]->trigger();
  ASSERT_EQ(t.ui.boxes.size(), 3u);
  EXPECT_EQ(t.ui.boxes[2].text, "Results are unpredictable unless there are 360 points to mirror");
  EXPECT_NE(t.ui.boxes[2].icon, message_icon::error);
  test::hide_cuts(*t.st, {{1, 2}});
  t.ui.answers.push_back(IDNO);
  t.click(t.w->commands().clear_all);
  EXPECT_EQ(t.st->pd.nofreq, 2);
  t.click(t.w->commands().clear_all);
  EXPECT_EQ(t.ui.boxes.back().text, "Do you really want to\ndiscard all the data?");
  EXPECT_EQ(t.st->pd.nofreq, 0);
  EXPECT_FALSE(t.w->commands().undo->isEnabled());
  EXPECT_TRUE(t.w->cuts().freqs().empty());
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "") << "no file any more";
}

TEST(MainWindow, DescriptionAndFourNecDialogs) {
  window_fixture t;
  const lobe::rect d = t.w->layout().rDescArea;
  t.ui.description_edits.push_back([](antenna_data_type& pd) {
    set_field(pd.descr1, "typed in the dialog");
    return 1;
  });
  t.click_at(d.left + 50, d.top + 20);
  EXPECT_STREQ(t.st->pd.descr1, "typed in the dialog");
  t.click_at(d.left + 50, d.top + 20);  // the script has no edit left: Cancel
  EXPECT_STREQ(t.st->pd.descr1, "typed in the dialog");
  window_fixture view(false);
  view.click_at(d.left + 50, d.top + 20);
  EXPECT_TRUE(view.ui.anchors.empty()) << "view mode has no description dialog";

  for (const std::pair<int, int>& answer : {std::pair{2, 0}, {1, 2}}) {  // Cancel, then columns 3 and 4
    t.ui.file_names.push_back(test::data_path("4nec/four_columns.txt"));
    t.ui.nec_columns.push_back({answer.first, {answer.second, answer.second + 1}});
    t.click(t.w->commands().open);
  }
  ASSERT_EQ(t.st->pd.nofreq, 1) << "the cancelled load added nothing";
  EXPECT_FLOAT_EQ(t.cut(0, 0).angle[0], 355.0f);
}

TEST(MainWindow, EmrMessageOncePerViewAndPrintToPdf) {
  window_fixture t;
  t.open("ant/v1_negative.ant");
  auto shown = [&] {
    int n = 0;
    for (const auto& b : t.ui.boxes) n += b.text == "Select a vertical (V or EL) cut to display the EMR chart";
    return n;
  };
  t.w->actions().views[3]->trigger();
  for (int i = 0; i < 2; ++i) {
    t.w->client()->repaint();
    t.settle();
  }
  EXPECT_EQ(shown(), 1);
  t.w->actions().views[0]->trigger();
  t.w->actions().views[3]->trigger();
  t.w->client()->repaint();
  t.settle();
  EXPECT_EQ(shown(), 2) << "a new view asks again";

  t.w->actions().views[0]->trigger();
  const std::string pdf = t.dir.file("page.pdf");
  t.ui.printer_setup = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf));
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  };
  t.click(t.w->commands().print);
  EXPECT_EQ(t.w->state().landscape, 1);
  const std::string bytes = test::read_bytes(pdf);
  EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
  EXPECT_GT(bytes.size(), 10000u);
  EXPECT_EQ(shown(), 2);
  // Printed in the EMR view, a page without its chart says why.
  t.w->actions().views[3]->trigger();
  t.w->client()->repaint();
  t.settle();
  const int before = shown();
  t.click(t.w->commands().print);
  EXPECT_EQ(shown(), before + 1);
}

TEST(MainWindow, HelpMenuShowsAboutAndTheHelpText) {
  window_fixture t;
  t.st->help.help_info_files = "\r\nfiles text";
  t.w->actions().about->trigger();
  t.w->actions().help_files->trigger();
  ASSERT_EQ(t.ui.boxes.size(), 2u);
  EXPECT_EQ(t.ui.boxes[0].caption, "About this program...");
  EXPECT_EQ(t.ui.boxes[0].text, "Lobeview Version 12.2\r\nAntenna data capture and plot\r\n");
  EXPECT_EQ(t.ui.boxes[1].text, "\r\nfiles text");
}

TEST(MainWindow, ADroppedFileOpensAndQuotedPathsLoseTheirQuotes) {
  window_fixture t;
  t.w->drop_file(test::data_path("convert/src.labz"));
  EXPECT_EQ(t.st->file.file_type, FT_LABZ);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "src.labz");
  EXPECT_EQ(strip_quotes("\"/tmp/a b.nsma\""), "/tmp/a b.nsma");
  EXPECT_EQ(strip_quotes("\"C:\\\"dir\\\"\\x.nsma\""), "C:\\\"dir\\\"\\x.nsma");
}

// A published Planet file (.msi) on the command line opens as Open opens it,
// and a smoothing or a mirroring of it can be taken back at once: Undo does
// not wait for an Open or a Save As.
TEST(MainWindow, AStartUpFileOpensAsOpenDoesAndItsEditsCanBeUndone) {
  window_fixture t(true, false, false, "planet/published.msi");
  ASSERT_EQ(t.st->file.file_type, FT_PLANET);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), "published.msi");
  EXPECT_FALSE(t.w->commands().undo->isEnabled()) << "nothing to take back yet";
  const std::vector<float> before(t.cut(0, 0).signal, t.cut(0, 0).signal + 360);
  t.click(t.row(0, 0).mavg);
  ASSERT_TRUE(t.w->commands().undo->isEnabled()) << "a smoothing can be taken back";
  t.click(t.w->commands().undo);
  EXPECT_EQ(std::vector<float>(t.cut(0, 0).signal, t.cut(0, 0).signal + 360), before);
  window_fixture m(true, false, false, "planet/published.msi");
  m.actions().mirror[0]->trigger();
  m.settle();
  EXPECT_TRUE(m.w->commands().undo->isEnabled()) << "so can a mirroring";
}

// A long file name ends in "..." inside its field (whole in its tooltip),
// Save As names the new file for the printed page, and an analyser address
// that is none is refused in the dialog.
TEST(MainWindow, LongNamesFitSavesRenameAndAddressesAreChecked) {
  window_fixture t;
  const std::string name = std::string(120, 'x') + ".nsma";
  test::write_bytes(t.dir.file(name), test::read_bytes(test::data_path("convert/src.nsma")));
  t.ui.file_names.push_back(t.dir.file(name));
  t.click(t.w->commands().open);
  EXPECT_EQ(t.w->status_text(STB_FILENAME), name);
  const QList<QLabel*> fields = t.w->statusBar()->findChildren<QLabel*>();
  ASSERT_GT(fields.size(), STB_FILENAME);
  const QLabel* field = fields[STB_FILENAME];
  EXPECT_TRUE(field->text().endsWith(QStringLiteral("..."))) << field->text().toStdString();
  EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), field->contentsRect().width());
  EXPECT_EQ(field->toolTip().toStdString(), name);
  t.ui.file_names.push_back(t.dir.file("s1.nsma"));
  t.click(t.w->commands().save);
  EXPECT_EQ(t.st->file.szFileName_name, "s1.nsma") << "what the printed page names";
  const std::string address = t.st->settings.dsa_ip;
  t.ui.dsa_ips.push_back({1, "not-an-ip"});
  t.actions().dsa_ip->trigger();
  EXPECT_EQ(t.st->settings.dsa_ip, address);
  ASSERT_FALSE(t.ui.boxes.empty());
  EXPECT_EQ(t.ui.boxes.back().caption, "Set DSA IP address");
  t.ui.dsa_ips.push_back({1, "127.0.0.5"});
  t.actions().dsa_ip->trigger();
  EXPECT_STREQ(t.st->settings.dsa_ip, "127.0.0.5");
}

// View mode: nothing to edit or save, and the palette is not saved on close;
// with editing enabled it is.
TEST(MainWindow, ViewModeEditsNothingAndKeepsNoPalette) {
  window_fixture edit;
  window_fixture view(false);
  EXPECT_EQ(view.w->status_text(STB_VERSION), "Version 12.2");
  EXPECT_EQ(edit.w->status_text(STB_VERSION), "Version 12.2x");
  EXPECT_TRUE(view.edit("make")->isReadOnly());
  EXPECT_FALSE(view.w->commands().save->isVisible());
  EXPECT_EQ(view.w->menu_titles(), (std::vector<std::string>{"&File", "&View", "&Help"}));
  view.w->close();
  EXPECT_FALSE(std::filesystem::exists(view.dir.file("lobeview.ini")));
  edit.w->close();
  EXPECT_NE(test::read_bytes(edit.dir.file("lobeview.ini")).find("[Palette]\r\n00=0x000000"), std::string::npos);
}

// File > Report...: a PDF of the pattern's pages and its verdicts against
// the mask shown, written whole or not at all.
TEST(MainWindow, ReportWritesThePagesAndTheVerdictsOfTheMaskShown) {
  window_fixture t(true, false, true);
  t.open("convert/src.nsma");
  t.w->actions().envelopes[0]->trigger();
  const std::string pdf = t.dir.file("report.pdf");
  t.ui.file_names.push_back(pdf);
  t.w->actions().report->trigger();
  const std::string bytes = test::read_bytes(pdf);
  EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
  std::size_t pages = 0;
  for (std::size_t at = 0; (at = bytes.find("/Type /Page\n", at)) != std::string::npos; ++at) ++pages;
  EXPECT_EQ(pages, static_cast<std::size_t>(t.st->pd.nofreq) + 1) << "a page per frequency, then the text";
  EXPECT_EQ(t.w->status_text(STB_ACTION).rfind("Report written: ", 0), 0u) << t.w->status_text(STB_ACTION);
  t.ui.file_names.push_back(t.dir.file("no/such/folder/report.pdf"));
  t.w->actions().report->trigger();
  ASSERT_FALSE(t.ui.boxes.empty());
  EXPECT_EQ(t.ui.boxes.back().text.rfind("Unable to write the report", 0), 0u);
}

// File > Compare with...: a reference drawn beside the pattern and compared
// in View > Parameters, until Clear reference; a file that holds no pattern
// is refused and the pattern stays.
TEST(MainWindow, CompareWithAReferenceAndClearIt) {
  window_fixture t;
  t.open("convert/src.nsma");
  t.w->client()->repaint();
  const int drawings = t.w->chart_drawings();
  EXPECT_FALSE(t.actions().clear_reference->isEnabled());
  t.ui.file_names.push_back(test::data_path("convert/src.nsma"));
  t.actions().compare_with->trigger();
  ASSERT_NE(t.w->reference(), nullptr);
  EXPECT_TRUE(t.actions().clear_reference->isEnabled());
  EXPECT_EQ(t.w->status_text(STB_ACTION), "Compared with src.nsma");
  t.w->client()->repaint();
  EXPECT_GT(t.w->chart_drawings(), drawings) << "the chart is drawn again with the reference";
  t.actions().parameters->trigger();
  const std::string said = t.ui.texts.back().second;
  EXPECT_NE(said.find("Against the reference src.nsma"), std::string::npos) << said;
  EXPECT_NE(said.find(": pass"), std::string::npos) << said;
  EXPECT_EQ(said.find(": fail"), std::string::npos) << said;
  // The data panel says it too, a line per shown cut.
  EXPECT_TRUE(t.painted("Reference: src.nsma"));
  const cut_data_type& first = t.cut(0, 0);
  const std::string first_same = std::string(t.st->pd.freq[0].patfre) + " " + first.patcut + " " + first.polari + ": pass, ref 0.00 dB";
  EXPECT_TRUE(t.painted(first_same));

  // View > Difference: from the polar view to the Cartesian one, the
  // difference chart instead of the levels; a level changed shows in it.
  auto chart_says = [&](const std::string& part) {
    t.w->client()->repaint();
    for (const auto& text : t.w->chart().marks().texts)
      if (text.text.find(part) != std::string::npos) return true;
    return false;
  };
  ASSERT_TRUE(t.actions().difference->isEnabled());
  t.actions().views[0]->trigger();
  t.actions().difference->trigger();
  EXPECT_EQ(t.st->view.display_type, DISPLAY_TYPE_RECT);
  EXPECT_TRUE(chart_says("Measured minus reference (dB); band: tolerance 1.0 dB"));
  EXPECT_TRUE(chart_says("+1dB")) << "the band's edge, at half the 2 dB range";
  EXPECT_FALSE(chart_says("-10dB")) << "no level scale";
  for (int turn = 0; turn < 20; ++turn) t.click(t.row(0, 0).minus);  // the cut turned 20 degrees
  EXPECT_FALSE(t.painted(first_same)) << "the panel's verdict follows the levels";
  EXPECT_TRUE(t.painted(std::string(t.st->pd.freq[0].patfre) + " " + first.patcut + " " + first.polari + ": fail, ref "));
  t.actions().difference->trigger();
  EXPECT_TRUE(chart_says("-10dB")) << "the levels again";

  t.actions().difference->trigger();
  t.actions().clear_reference->trigger();
  EXPECT_EQ(t.w->reference(), nullptr);
  EXPECT_FALSE(t.actions().clear_reference->isEnabled());
  EXPECT_FALSE(t.actions().difference->isEnabled());
  EXPECT_FALSE(t.actions().difference->isChecked());
  EXPECT_TRUE(chart_says("-10dB")) << "without a reference the levels again";
  EXPECT_FALSE(t.painted("Reference:"));
  t.actions().parameters->trigger();
  EXPECT_EQ(t.ui.texts.back().second.find("Against the reference"), std::string::npos);

  // A 4NEC table as the reference is its one cut, not the pattern plus it.
  t.ui.file_names.push_back(test::data_path("4nec/four_columns.txt"));
  t.actions().compare_with->trigger();
  ASSERT_NE(t.w->reference(), nullptr);
  EXPECT_EQ(t.w->reference()->nofreq, 1);
  EXPECT_EQ(t.w->reference()->freq[0].numcut, 1);
  t.actions().clear_reference->trigger();

  const std::string empty = t.dir.file("empty.nsma");
  test::write_bytes(empty, "");
  t.ui.file_names.push_back(empty);
  t.actions().compare_with->trigger();
  EXPECT_EQ(t.w->reference(), nullptr);
  ASSERT_FALSE(t.ui.boxes.empty());
  EXPECT_EQ(t.ui.boxes.back().text, "Unable to open antenna file.");
  EXPECT_GT(t.st->pd.nofreq, 0) << "the pattern stays";
}

}  // namespace
}  // namespace lobe
