#include "python/errors.h"

#include <pybind11/eval.h>

namespace lobe::python {

namespace py = pybind11;

namespace {
// Made once at import, kept for the life of the interpreter.
PyObject* error_type = nullptr;
PyObject* file_error_type = nullptr;
}  // namespace

void register_errors(py::module_& m) {
  // FileError is an OSError too (errno, filename), whose text is lobeconv's
  // message rather than OSError's "[Errno 2] ...".
  py::dict scope;
  py::exec(R"(
class Error(Exception):
    """An error lobeconv would report; its text is lobeconv's message."""

class FileError(Error, OSError):
    """A file that cannot be opened or written (an OSError too)."""
    def __str__(self):
        return str(self.args[0]) if self.args else ""
)",
           scope);
  for (const char* name : {"Error", "FileError"}) {
    scope[name].attr("__module__") = "lobeview";
    m.add_object(name, scope[name]);
  }
  error_type = scope["Error"].ptr();
  file_error_type = scope["FileError"].ptr();
  Py_INCREF(error_type);
  Py_INCREF(file_error_type);
}

void raise_error(const std::string& message) {
  PyErr_SetString(error_type, message.c_str());
  throw py::error_already_set();
}

void raise_file_error(int error_number, const std::string& message, const std::string& path) {
  // The message as its text; errno and filename as an OSError carries them.
  py::object e = py::reinterpret_borrow<py::object>(file_error_type)(message);
  if (error_number != 0) e.attr("errno") = error_number;
  e.attr("filename") = path;
  PyErr_SetObject(file_error_type, e.ptr());
  throw py::error_already_set();
}

std::string lobeconv_message(const std::string& err_text) {
  static const std::string prefix = "lobeconv: ";
  std::string out;
  std::size_t at = 0;
  while (at < err_text.size()) {
    std::size_t end = err_text.find('\n', at);
    if (end == std::string::npos) end = err_text.size();
    std::string line = err_text.substr(at, end - at);
    if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
    if (line.rfind("Try 'lobeconv --help'", 0) != 0 && !line.empty()) {
      if (!out.empty()) out += '\n';
      out += line;
    }
    at = end + 1;
  }
  return out;
}

}  // namespace lobe::python
