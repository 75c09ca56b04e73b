#include "python/pattern_object.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/output_guard.h"
#include "core/formats/file_types.h"
#include "core/io/run_log.h"
#include "core/session/antenna_loader.h"
#include "core/session/save_routing.h"
#include "core/text/field_text.h"
#include "python/errors.h"

namespace lobe::python {

namespace {

// Texts as read; bytes that are not UTF-8 become U+FFFD, as in lobeconv dump.
py::str text(const char* s, std::size_t max) {
  const std::size_t n = strnlen(s, max);
  PyObject* o = PyUnicode_DecodeUTF8(s, static_cast<Py_ssize_t>(n), "replace");
  if (!o) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(o);
}

// A read-only copy: a script that wants to change levels builds a new
// pattern (Pattern.from_cuts), so what write() writes is what was read.
py::array_t<double> frozen_copy(const float* values, int n) {
  py::array_t<double> out(n);
  double* d = out.mutable_data();
  for (int i = 0; i < n; ++i) d[i] = values[i];
  out.attr("setflags")(py::arg("write") = false);
  return out;
}

// The pattern as Python objects that cannot be changed behind the record's
// back: tuples of frequencies and cuts, read-only arrays.
void fill_objects(pattern_object& p) {
  const antenna_data_type& pd = p.st->pd;
  for (const header_field& f : header_fields()) p.header[f.name] = text(field_text(pd, f), f.size);
  py::list frequencies;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f) {
    const freq_data_type& fr = pd.freq[f];
    py::list cuts;
    for (int c = 0; c < count_in(fr.numcut, MAX_CUTS); ++c) {
      const cut_data_type& cut = fr.cut[c];
      const int n = stored_points(cut);
      cuts.append(py::cast(cut_object{text(cut.patcut, sizeof cut.patcut), text(cut.polari, sizeof cut.polari),
                                      frozen_copy(cut.angle, n), frozen_copy(cut.signal, n)}));
    }
    frequencies.append(py::cast(frequency_object{text(fr.patfre, sizeof fr.patfre), py::tuple(cuts)}));
  }
  p.frequencies = py::tuple(frequencies);
}

std::shared_ptr<lobe_state> fresh_state() { return std::shared_ptr<lobe_state>(make_lobe_state().release()); }

// A text into a record field, refused rather than cut short.
void put_text(std::span<char> field, const std::string& value, const std::string& what) {
  if (value.size() + 1 > field.size())
    raise_error(what + " takes at most " + std::to_string(field.size() - 1) + " characters: \"" + value + "\"");
  set_field(field, value);
}

// An item of a cut list by position or by name: a tuple, a Cut, a dict.
py::object part(const py::handle& cut, std::size_t index, const char* name) {
  if (py::isinstance<py::dict>(cut)) return py::reinterpret_borrow<py::dict>(cut)[name];
  if (py::hasattr(cut, name)) return cut.attr(name);
  return py::reinterpret_borrow<py::sequence>(cut)[index];
}

void put_cut(cut_data_type& cut, const py::handle& given, const std::string& where) {
  put_text(cut.patcut, py::str(part(given, 0, "kind")), where + " kind");
  put_text(cut.polari, py::str(part(given, 1, "polarisation")), where + " polarisation");
  const auto angles = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(part(given, 2, "angles"));
  const auto levels = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(part(given, 3, "levels"));
  if (!angles || !levels || angles.ndim() != 1 || levels.ndim() != 1)
    raise_error(where + ": angles and levels must be sequences of numbers");
  if (angles.size() != levels.size())
    raise_error(where + ": " + std::to_string(angles.size()) + " angles but " + std::to_string(levels.size()) + " levels");
  if (angles.size() > MAX_SAMPLES) raise_error(where + ": more than " + std::to_string(MAX_SAMPLES) + " points");
  const int n = static_cast<int>(angles.size());
  for (int i = 0; i < n; ++i) {
    const double a = angles.at(i), l = levels.at(i);
    if (!std::isfinite(a) || !std::isfinite(l)) raise_error(where + ": point " + std::to_string(i) + " is not a number");
    cut.angle[i] = static_cast<float>(a);
    cut.signal[i] = static_cast<float>(l);
  }
  cut.nupoin = n;
  if (n < MAX_SAMPLES) cut.angle[n] = END_MARKER;
  // The writers take the first and last angles from the points.
  cut.fstlst[0] = cut.fstlst[1] = FSTLST_UNSET;
}

// Opens `path` into `st` with the reading options, as lobeconv does, the GIL
// released while the file is read.
action_report load(lobe_state& st, const std::string& path, const read_options& how) {
  st.settings.lf_line_ends = how.lf;
  st.settings.resample_long_cuts = how.resample;
  st.settings.signed_levels = how.signed_levels;
  st.nec.nec_angle_col = how.nec_angle_column - 1;
  st.nec.nec_signal_col = how.nec_level_column - 1;
  py::gil_scoped_release free;
  run_log log;
  return open_file(st, log, path, dialog_extension(path));
}

}  // namespace

pattern_object read_pattern(const std::string& path, const read_options& how) {
  if (how.nec_angle_column < 1 || how.nec_level_column < 1)
    raise_error("nec_columns takes two column numbers counted from 1, as in (1, 2)");
  pattern_object p{fresh_state(), path, {}, py::dict(), py::tuple()};
  const action_report loaded = load(*p.st, path, how);
  if (!loaded.ok) {
    // lobeconv's words; a file that cannot be opened is an OSError as well.
    const std::string message = "cannot read " + path + ": " + read_failure(path, loaded);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) raise_file_error(EISDIR, message, path);
    if (FILE* f = std::fopen(path.c_str(), "rb"))
      std::fclose(f);
    else
      raise_file_error(errno, message, path);
    raise_error(message);
  }
  p.notices = p.st->file.load_notices;
  fill_objects(p);
  return p;
}

int read_record_only(const std::string& path, const read_options& how) {
  const std::unique_ptr<lobe_state> st = make_lobe_state();
  const action_report loaded = load(*st, path, how);
  if (!loaded.ok) raise_error("cannot read " + path + ": " + read_failure(path, loaded));
  int cuts = 0;
  for (int f = 0; f < count_in(st->pd.nofreq, MAX_FREQ); ++f) cuts += count_in(st->pd.freq[f].numcut, MAX_CUTS);
  return cuts;
}

pattern_object pattern_from_cuts(const py::iterable& frequencies, const py::dict& header) {
  pattern_object p{fresh_state(), "", {}, py::dict(), py::tuple()};
  antenna_data_type& pd = p.st->pd;
  for (const auto& [key, value] : header) {
    const std::string name = py::str(key);
    const header_field* field = header_field_by_name(name);
    if (!field) raise_error("no header field named \"" + name + "\"");
    put_text(field_of(pd, *field), py::str(value), "header field " + name);
  }
  int f = 0;
  for (const py::handle& given : frequencies) {
    if (f >= MAX_FREQ) raise_error("more than " + std::to_string(MAX_FREQ) + " frequencies");
    const py::sequence pair = py::reinterpret_borrow<py::sequence>(given);
    if (pair.size() != 2) raise_error("each frequency is (frequency text, cuts)");
    const std::string where = "frequency " + std::to_string(f);
    put_text(pd.freq[f].patfre, py::str(pair[0]), where);
    int c = 0;
    for (const py::handle& cut : py::reinterpret_borrow<py::iterable>(pair[1])) {
      if (c >= MAX_CUTS) raise_error(where + ": more than " + std::to_string(MAX_CUTS) + " cuts");
      put_cut(pd.freq[f].cut[c], cut, where + " cut " + std::to_string(c));
      ++c;
    }
    pd.freq[f].numcut = c;
    ++f;
  }
  pd.nofreq = f;
  fill_objects(p);
  return p;
}

std::vector<std::string> write_pattern(const pattern_object& p, const std::string& path, int ant_version) {
  if (ant_version != 2 && ant_version != 3) raise_error("ant_version takes 2 or 3");
  if (lobeconv::is_picture_name(path)) raise_error("convert writes pattern files, not pictures (" + path + "); use lobeconv render");
  if (!p.source.empty())
    if (const auto same = lobeconv::input_written_over(path, {p.source}))
      raise_error("not writing " + path + ": it is the same file as the input " + *same);
  if (const action_report nothing = check_something_to_save(*p.st); !nothing.ok)
    raise_error((p.source.empty() ? std::string("the pattern") : p.source) + ": " + nothing.failure_text());
  // Saving sets the state's file facts (type, name): a copy keeps the
  // pattern as read, whatever it is written as.
  const std::unique_ptr<lobe_state> st = make_lobe_state();
  *st = *p.st;
  st->file.ant_file_type = ant_version;
  action_report saved;
  {
    py::gil_scoped_release free;
    run_log log;
    saved = save_file(*st, log, path, {});
  }
  if (!saved.ok) raise_file_error(0, "cannot write " + path + ": " + saved.failure_line(), path);
  std::vector<std::string> notes;
  for (const action_message& note : saved.messages) notes.push_back(note.text);
  return notes;
}

const lobe_state& state_of(const pattern_object& p) { return *p.st; }

}  // namespace lobe::python
