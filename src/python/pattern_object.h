// A pattern as Python sees it: the record a file was read into (kept whole,
// so that writing it gives what lobeconv convert gives) and its header, its
// frequencies and cuts as Python objects with NumPy arrays.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <memory>
#include <string>
#include <vector>

#include "core/record/lobe_state.h"

namespace lobe::python {

namespace py = pybind11;

// How a file is read: lobeconv's reading options.
struct read_options {
  bool lf = false;
  bool resample = false;
  bool signed_levels = false;
  int nec_angle_column = 1;  // 1-based, as lobeconv's --nec-columns
  int nec_level_column = 2;
};

struct cut_object {
  std::string kind, polarisation;
  py::array_t<double> angles, levels;
};

struct frequency_object {
  std::string frequency;
  py::tuple cuts;
};

struct pattern_object {
  std::shared_ptr<lobe_state> st;
  std::string source;  // the file it was read from, if any
  std::vector<std::string> notices;
  py::dict header;         // handed out as a copy
  py::tuple frequencies;
};

// Reads `path` as lobeconv does; the load itself runs without the GIL.
// Raises lobeview.FileError for a file that cannot be opened, lobeview.Error
// for one that holds no pattern.
pattern_object read_pattern(const std::string& path, const read_options& how);

// The load alone, into a record that is dropped again: what read_pattern
// costs without its Python objects (the benchmark's reference). Returns
// how many cuts were read.
int read_record_only(const std::string& path, const read_options& how);

// A pattern of the given frequencies, each (text, cuts), each cut
// (kind, polarisation, angles, levels) or an object or dict with those names.
pattern_object pattern_from_cuts(const py::iterable& frequencies, const py::dict& header);

// Writes by the extension as lobeconv convert does; returns its notes.
std::vector<std::string> write_pattern(const pattern_object& p, const std::string& path, int ant_version);

// The record behind the header and the arrays.
const lobe_state& state_of(const pattern_object& p);

}  // namespace lobe::python
