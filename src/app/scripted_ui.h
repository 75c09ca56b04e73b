// A modal_ui that answers from a script instead of asking anybody: for the
// GUI tests and for making screenshots. Every question is recorded; an empty
// script answers OK / Yes, and cancels file, colour and print dialogs.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/modal_ui.h"
#include "app/resource_ids.h"

namespace lobe {

class scripted_ui : public modal_ui {
 public:
  struct box {
    std::string text, caption;
    message_icon icon;
    bool yes_no;
  };

  std::vector<box> boxes;
  std::vector<file_dialog_request> file_requests;
  std::deque<int> answers;                               // for yes/no questions
  std::deque<std::optional<std::string>> file_names;     // open and save dialogs
  std::deque<std::function<int(antenna_data_type&)>> description_edits;
  std::deque<std::pair<int, int>> ant_versions;          // (result, version)
  std::deque<std::pair<int, std::pair<int, int>>> nec_columns;  // (result, (angle, signal))
  std::deque<std::pair<int, std::string>> dsa_ips;
  std::function<void()> on_box;  // runs as each message box is shown
  std::deque<std::optional<colorref>> colours;
  std::function<bool(QPrinter&)> printer_setup;
  std::vector<dialog_anchor> anchors;

  int message_box(const std::string& text, const std::string& caption, message_icon icon, bool yes_no) override {
    boxes.push_back({text, caption, icon, yes_no});
    if (on_box) on_box();
    if (!yes_no) return IDOK;
    return take(answers, IDYES);
  }
  std::optional<std::string> open_file_name(const file_dialog_request& r) override {
    file_requests.push_back(r);
    return take(file_names, std::optional<std::string>());
  }
  std::optional<std::string> save_file_name(const file_dialog_request& r) override {
    file_requests.push_back(r);
    return take(file_names, std::optional<std::string>());
  }
  int ant_version_dialog(dialog_anchor at, int& ant_file_type) override {
    anchors.push_back(at);
    const auto a = take(ant_versions, std::make_pair(2, 0));
    if (a.first == 1) ant_file_type = a.second;
    return a.first;
  }
  int nec_column_dialog(dialog_anchor at, int& angle_col, int& signal_col) override {
    anchors.push_back(at);
    const auto a = take(nec_columns, std::make_pair(1, std::make_pair(0, 1)));
    if (a.first == 1) {
      angle_col = a.second.first;
      signal_col = a.second.second;
    }
    return a.first;
  }
  int description_dialog(dialog_anchor at, antenna_data_type& pd) override {
    anchors.push_back(at);
    if (description_edits.empty()) return 2;
    auto edit = description_edits.front();
    description_edits.pop_front();
    return edit(pd);
  }
  int dsa_ip_dialog(dialog_anchor at, std::string& ip) override {
    anchors.push_back(at);
    const auto a = take(dsa_ips, std::make_pair(2, std::string()));
    if (a.first == 1) ip = a.second;
    return a.first;
  }
  std::optional<colorref> choose_colour(colorref, const std::vector<colorref>&) override {
    return take(colours, std::optional<colorref>());
  }
  bool print_setup(QPrinter& printer) override { return printer_setup ? printer_setup(printer) : false; }
  void show_text(const std::string& title, const std::string& text) override { texts.push_back({title, text}); }
  std::vector<std::pair<std::string, std::string>> texts;

 private:
  template <class T>
  static T take(std::deque<T>& q, T fallback) {
    if (q.empty()) return fallback;
    T v = q.front();
    q.pop_front();
    return v;
  }
};

}  // namespace lobe
