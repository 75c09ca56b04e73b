// The data panel's table of frequencies and cuts: per frequency its edit and
// Add Cut button, per cut its name and polarisation edits, its show box and
// its buttons (sweep, delete, +, -, A), then the EMR inputs. It is built
// from the record whenever the record's shape changes; each button says
// which cut it belongs to through the table's signals.
#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "app/panel_rows.h"
#include "core/record/lobe_state.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lobe {

struct window_pictures;

class cut_table : public QObject {
  Q_OBJECT

 public:
  struct freq_row {
    QLineEdit* patfre;
    QPushButton* add_cut;  // test range only
  };
  struct cut_row {
    int freq, cut;
    QLineEdit* patcut;
    QLineEdit* polari;
    QCheckBox* shown;
    QPushButton* sweep;  // test range only
    QPushButton* del;    // editing modes only, as the three below
    QPushButton* plus;
    QPushButton* minus;
    QPushButton* mavg;
  };
  struct emr_row {
    QLineEdit* power;
    QLineEdit* loss;
    QLineEdit* height;
    QPushButton* refresh;
  };

  cut_table(QWidget* client, const window_pictures& pictures) : client_(client), pictures_(pictures) {}

  // The rows of the record in `st`; buttons by mode (capture: Add Cut and
  // sweep, editing: delete and the level buttons).
  void build(const lobe_state& st, bool read_only, bool editing);
  // Every row on its panel line, the EMR inputs under the last.
  void place(const panel_rows& rows, const lobe::rect& area);
  void clear_rows();
  void clear_emr();
  // The frequency and cut texts into the record (names in capitals).
  void read_into(antenna_data_type& pd) const;
  // The show boxes into the flags.
  void read_shown(pattern_flags_type& flags) const;
  void show_emr(bool on);

  const std::vector<freq_row>& freqs() const { return freqs_; }
  const std::vector<cut_row>& cuts() const { return cuts_; }
  const cut_row* row(int f, int c) const;
  const std::optional<emr_row>& emr() const { return emr_; }
  // The buttons a running sweep locks: Add Cut, sweep, delete, +, - and A.
  std::vector<QWidget*> sweep_locked() const;

 signals:
  void add_cut(int freq);
  void shown_changed();
  void sweep(int freq, int cut);
  void remove(int freq, int cut);
  void shift(int freq, int cut, int step);
  void smooth(int freq, int cut);
  void emr_refresh();

 private:
  QPushButton* button(const QString& text, const QPixmap* picture);
  QLineEdit* edit(const char* text, int max_len, bool read_only);

  QWidget* client_;
  const window_pictures& pictures_;
  std::vector<freq_row> freqs_;
  std::vector<cut_row> cuts_;
  std::optional<emr_row> emr_;
};

}  // namespace lobe
