// Reading a whole file into memory, with the three outcomes the loaders
// tell apart: read, no size to be had (or no memory), or a failed read.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace lobe {

enum class image_status { ok, no_size, read_failed };

image_status read_file_image(std::FILE* file, std::string& image);

// The whole of a small text file, or nothing when it cannot be opened.
std::optional<std::string> read_whole_file(const std::string& path);

// Opens a regular file for reading; nullptr for a missing file or a folder.
std::FILE* open_for_reading(const std::string& fn);

}  // namespace lobe
