// import lobeview: Lobeview's readers, writers and computations for Python
// scripts (docs/PYTHON.md). Every answer is the one lobeconv gives: the
// same record, the same bytes written, the same JSON as dicts and lists.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

#include "cli/analysis_json.h"
#include "cli/lobeconv_commands.h"
#include "cli/verdicts_json.h"
#include "core/analysis/mask_check.h"
#include "core/exposure/pattern3d.h"
#include "core/formats/envelope_file.h"
#include "core/formats/format_table.h"
#include "core/record/envelope_library.h"
#include "core/text/c_numeric.h"
#include "python/errors.h"
#include "python/pattern_object.h"

namespace py = pybind11;
using namespace lobe;
using namespace lobe::python;

namespace {

// A file name given as a str or any os.PathLike.
std::string path_text(const py::object& path) { return py::str(py::module_::import("os").attr("fspath")(path)); }

// JSON text as Python's own dicts and lists (None for null).
py::object from_json(const std::string& text) { return py::module_::import("json").attr("loads")(text); }
template <class Json>
py::object json_object(const Json& j) {
  return from_json(j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

// A lobeconv command line run here, without the GIL; its JSON output, or
// lobeconv's message as an Error. Exit status 1 with output is a verdict
// (a check that failed), not an error.
py::object run_json(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = 0;
  {
    py::gil_scoped_release free;
    status = run_lobeconv(args, out, err);
  }
  if (status == 2 || out.str().empty()) raise_error(lobeconv_message(err.str()));
  return from_json(out.str());
}

py::object analyse(const pattern_object& p) { return json_object(analysis_to_json(state_of(p))); }

py::tuple pattern3d(const pattern_object& p, const std::string& method, double step, std::optional<double> freq) {
  const auto m = method_3d_named(method);
  if (!m) raise_error("method takes summing, weighted or hybrid");
  const std::optional<int> steps = grid_steps(step);
  if (!steps)
    raise_error("step takes degrees from 0.1 to 45 that divide 180 into whole steps (0.1, 0.5, 1, 2.5, 5 ...)");
  const antenna_data_type& pd = state_of(p).pd;
  double mhz = 0.0;
  if (freq)
    mhz = *freq;
  else if (pd.nofreq > 0)
    c_sscanf(pd.freq[0].patfre, "%lf", &mhz);
  std::shared_ptr<const pattern_3d> p3;
  if (!pattern_3d_of(pd, mhz, *m, p3))
    raise_error((p.source.empty() ? std::string("the pattern") : p.source) +
                " has no frequency with a horizontal and a vertical cut");
  // The grid lobeconv pattern3d writes: azimuth -180 up to 180 less a step,
  // elevation -90 to 90, each angle i x 180 / n.
  const int n = *steps;
  py::array_t<double> azimuth(2 * n), elevation(n + 1);
  py::array_t<double> gain({n + 1, 2 * n});
  double* az = azimuth.mutable_data();
  double* el = elevation.mutable_data();
  double* g = gain.mutable_data();
  for (int a = 0; a < 2 * n; ++a) az[a] = -180.0 + a * 180.0 / n;
  for (int e = 0; e <= n; ++e) el[e] = -90.0 + e * 180.0 / n;
  {
    py::gil_scoped_release free;
    for (int e = 0; e <= n; ++e)
      for (int a = 0; a < 2 * n; ++a) g[e * 2 * n + a] = p3->gain(az[a], el[e]);
  }
  return py::make_tuple(azimuth, elevation, gain);
}

// A site as a dict: written to a file of its own for lobeconv, its
// patterns' relative names taken from the current folder.
py::object exposure(const py::object& site, const std::optional<std::string>& standard,
                    const std::optional<std::tuple<double, double, double>>& at) {
  std::string path;
  std::filesystem::path written;
  std::vector<std::string> given_names;  // the dict's pattern names, as the answer gives them back
  if (py::isinstance<py::dict>(site)) {
    const std::string text = py::str(py::module_::import("json").attr("dumps")(site));
    nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
    if (j.is_object() && j.contains("antennas") && j["antennas"].is_array())
      for (auto& a : j["antennas"])
        if (a.is_object() && a.contains("pattern") && a["pattern"].is_string()) {
          given_names.push_back(a["pattern"].get<std::string>());
          a["pattern"] = std::filesystem::absolute(given_names.back()).string();
        }
    static std::atomic<unsigned> sites{0};  // a name of its own for each call, from any thread
    written = std::filesystem::temp_directory_path() /
              ("lobeview-site-" + std::to_string(::getpid()) + "-" + std::to_string(sites++) + ".json");
    std::ofstream(written) << j.dump();
    path = written.string();
  } else {
    path = path_text(site);
  }
  std::vector<std::string> args = {"exposure", path};
  if (standard) args.insert(args.end(), {"--standard", *standard});
  if (at) args.insert(args.end(), {"--at", c_format("%.17g,%.17g,%.17g", std::get<0>(*at), std::get<1>(*at), std::get<2>(*at))});
  struct remove_after {
    std::filesystem::path p;
    ~remove_after() {
      std::error_code ec;
      if (!p.empty()) std::filesystem::remove(p, ec);
    }
  } cleanup{written};
  py::object answer = run_json(args);
  if (!given_names.empty() && answer.contains("antennas")) {
    py::list antennas = answer["antennas"];
    for (std::size_t i = 0; i < given_names.size() && i < py::len(antennas); ++i)
      if (antennas[i].contains("pattern")) antennas[i]["pattern"] = given_names[i];
  }
  return answer;
}

py::object check(const pattern_object& p, const std::optional<std::string>& envelope, const py::object& library) {
  const std::string envelopes = path_text(library);
  auto ed = std::make_unique<envelopes_type>();
  if (!read_envelope_file(*ed, envelopes)) raise_error("cannot read " + envelopes);
  // The envelope named, or the one the file asks for (a LABZ file names one).
  const std::string title = envelope ? *envelope : std::string(state_of(p).view.envelope_disp_requested);
  if (title.empty()) raise_error("check needs a mask: envelope=TITLE (or a LABZ file that names one)");
  const int e = envelope_titled(*ed, title);
  if (e < 0) raise_error("no envelope titled \"" + title + "\" in the library");
  const lobe_state& st = state_of(p);
  return json_object(check_json(st.pd, ed->env[e], check_pattern(st.pd, st.flags, ed->env[e])));
}

py::object compare(const pattern_object& measured, const pattern_object& reference, const std::string& align,
                   double tolerance) {
  if (align != "peak" && align != "none") raise_error("align takes peak or none");
  if (!(tolerance >= 0.0) || !std::isfinite(tolerance)) raise_error("tolerance takes a number of dB, 0 or more");
  compare_options o;
  o.align_peak = align == "peak";
  o.tolerance_db = tolerance;
  const lobe_state &m = state_of(measured), &r = state_of(reference);
  return json_object(comparison_json(m.pd, r.pd, compare_patterns(m.pd, m.flags, r.pd, o)));
}

std::string file_type_name(const pattern_object& p) {
  const pattern_format* f = format_of_type(state_of(p).file.loaded_file_type);
  return f ? f->name : "";
}

// The three classes a read gives back.
void register_classes(py::module_& m) {
  py::class_<cut_object>(m, "Cut", "A cut: its PATCUT text, its polarisation and its points.")
      .def_readonly("kind", &cut_object::kind)
      .def_readonly("polarisation", &cut_object::polarisation)
      .def_readonly("angles", &cut_object::angles, "Degrees, as the file holds them (read-only).")
      .def_readonly("levels", &cut_object::levels, "dB below the peak, positive (read-only).")
      .def("__repr__", [](const cut_object& c) {
        return "<lobeview.Cut " + c.kind + " " + c.polarisation + ", " + std::to_string(c.angles.size()) + " points>";
      });

  py::class_<frequency_object>(m, "Frequency", "A frequency: its PATFRE text and its cuts.")
      .def_readonly("frequency", &frequency_object::frequency)
      .def_readonly("cuts", &frequency_object::cuts)
      .def("__repr__", [](const frequency_object& f) {
        return "<lobeview.Frequency " + f.frequency + ", " + std::to_string(py::len(f.cuts)) + " cuts>";
      });

  py::class_<pattern_object>(m, "Pattern", "A pattern as Lobeview reads it.")
      .def_property_readonly(
          "header", [](const pattern_object& p) { return py::dict(p.header.attr("copy")()); },
          "The header fields by name (a copy: write() writes the fields as read).")
      .def_readonly("frequencies", &pattern_object::frequencies)
      .def_readonly("notices", &pattern_object::notices)
      .def_readonly("source", &pattern_object::source)
      .def_property_readonly("file_type", &file_type_name)
      .def(
          "write",
          [](const pattern_object& p, const py::object& path, int ant_version) {
            return write_pattern(p, path_text(path), ant_version);
          },
          py::arg("path"), py::arg("ant_version") = 3,
          "Writes by the extension as lobeconv convert does; returns its notes.")
      .def_static("from_cuts", &pattern_from_cuts, py::arg("frequencies"), py::arg("header") = py::dict(),
                  "A pattern of [(frequency text, [(kind, polarisation, angles, levels), ...]), ...].")
      .def("__repr__", [](const pattern_object& p) {
        return "<lobeview.Pattern " + (p.source.empty() ? std::string("built") : p.source) + ", " +
               std::to_string(py::len(p.frequencies)) + " frequencies>";
      });
}

}  // namespace

PYBIND11_MODULE(lobeview, m) {
  m.doc() = "Lobeview's pattern readers, writers and computations (docs/PYTHON.md).";
  register_errors(m);
  register_classes(m);

  m.def(
      "read",
      [](const py::object& path, bool lf, bool resample, bool signed_levels, std::pair<int, int> nec_columns) {
        return read_pattern(path_text(path), {lf, resample, signed_levels, nec_columns.first, nec_columns.second});
      },
      py::arg("path"), py::arg("lf") = false, py::arg("resample") = false, py::arg("signed_levels") = false,
      py::arg("nec_columns") = std::pair<int, int>{1, 2}, "Reads a pattern file as lobeconv does.");
  m.def(
      "_read_record_only", [](const py::object& path) { return read_record_only(path_text(path), {}); },
      py::arg("path"), "The C++ load alone, without Python objects: the reference of scripts/bench.sh.");
  m.def("analyse", &analyse, py::arg("pattern"), "What lobeconv analyse --json prints, as dicts and lists.");
  m.def("pattern3d", &pattern3d, py::arg("pattern"), py::arg("method") = "summing", py::arg("step") = 1.0,
        py::arg("freq") = py::none(), "(azimuth, elevation, gain[elevation, azimuth]) as lobeconv pattern3d.");
  m.def("exposure", &exposure, py::arg("site"), py::arg("standard") = py::none(), py::arg("at") = py::none(),
        "What lobeconv exposure prints for a site (a dict or a file name).");
  m.def("check", &check, py::arg("pattern"), py::arg("envelope") = py::none(), py::arg("envelopes"),
        "What lobeconv check --json prints.");
  m.def("compare", &compare, py::arg("measured"), py::arg("reference"), py::arg("align") = "none",
        py::arg("tolerance") = 1.0, "What lobeconv compare --json prints.");
}
