// The module's exceptions: lobeview.Error for anything lobeconv reports as
// an error, lobeview.FileError (an Error and an OSError) for a file that
// cannot be opened. Messages are lobeconv's, without its "lobeconv: ".
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace lobe::python {

void register_errors(pybind11::module_& m);

[[noreturn]] void raise_error(const std::string& message);
[[noreturn]] void raise_file_error(int error_number, const std::string& message, const std::string& path);

// lobeconv's error stream as one message: its lines without the program's name.
std::string lobeconv_message(const std::string& err_text);

}  // namespace lobe::python
