// What an action (a load, a save) has to tell the user: the status-bar
// fields it set and its messages. Core only fills it in; the window shows
// the messages in boxes, lobeconv prints them.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace lobe {

class run_log;

// What a message is about; the window words its box from this.
enum class message_kind {
  failure,      // the action could not be done
  load_notice,  // a load that dropped or changed what the file holds
  save_notice,  // something the user should know about the file just written
};

struct action_message {
  message_kind kind;
  std::string text;
};

struct action_report {
  bool ok = true;
  // The texts of the status-bar fields the action set, by part (STB_*); the
  // last one set wins, "" clears a field.
  std::map<int, std::string> status;
  std::vector<action_message> messages;
  // The record was replaced or cleared: the panel and the menus must be
  // rebuilt from it.
  bool pattern_replaced = false;
  // The system's words for why the action failed, where its message does
  // not carry them ("Permission denied"): for lobeconv, which has room to say.
  std::string system_reason;

  void set_status(int part, std::string text) { status[part] = std::move(text); }
  void say(message_kind kind, std::string text) { messages.push_back({kind, std::move(text)}); }
  // The action failed with this message.
  action_report& fail(std::string text) {
    ok = false;
    say(message_kind::failure, std::move(text));
    return *this;
  }
  // The first failure message, or "".
  std::string failure_text() const {
    for (const action_message& m : messages)
      if (m.kind == message_kind::failure) return m.text;
    return {};
  }
  // The failure on one line, with the system's words for it when the
  // message does not already give them: what a command line prints.
  std::string failure_line() const {
    std::string why = failure_text();
    for (char& c : why)
      if (c == '\n') c = ' ';
    if (!system_reason.empty() && why.find(system_reason) == std::string::npos) why += " " + system_reason;
    return why;
  }
  const std::string* status_of(int part) const {
    const auto it = status.find(part);
    return it == status.end() ? nullptr : &it->second;
  }
};

// Where a load's or a save's side effects go: the run log, and the report
// of what the user is to be told.
struct core_io {
  run_log& log;
  action_report& report;
};

}  // namespace lobe
