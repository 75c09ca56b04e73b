// The header's two panes of edits, Description and Performance, one edit
// per header field the field table places on the pane. The record is the
// master copy: the edits are made from it and read back into it.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "core/record/pattern_record.h"
#include "draw/window_layout.h"

class QLineEdit;
class QWidget;

namespace lobe {

class header_panes {
 public:
  explicit header_panes(QWidget* client) : client_(client) {}

  // The edits of `pane`, filled from the record, in `area` (the header's).
  void show(const antenna_data_type& pd, panel_pane pane, bool read_only, const lobe::rect& area);
  void place(const lobe::rect& area);
  // The edits' texts into the record (GUNITS in capitals), then the edits gone.
  void read_into(antenna_data_type& pd) const;
  void clear();
  panel_pane pane() const { return pane_; }
  // The edit of the field named `name` on the pane shown; nullptr when it has none.
  QLineEdit* edit(std::string_view name) const;

 private:
  QWidget* client_;
  panel_pane pane_ = panel_pane::description;
  std::vector<std::pair<const header_field*, QLineEdit*>> edits_;
};

}  // namespace lobe
