// Which format a file is, from its name.
#pragma once

#include <string>
#include <string_view>

namespace lobe {

// The extension text as the file dialogs hand it over: the text after the
// last dot of the file name, read like "%4s" (at most four characters, up to
// the first blank). "" when the name has no extension.
std::string dialog_extension(std::string_view path);

// The Open command: NSMA, LABZ, ADF, ANT, TXT in any case; anything else is Planet.
int open_type_from_extension(std::string_view fx);

// The Save command: LABZ, NSMA, ADF, ANT in any case; anything else is Planet.
int save_type_from_extension(std::string_view fx);

// The file-name part of a path.
std::string file_title(std::string_view path);

}  // namespace lobe
