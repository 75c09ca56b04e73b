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

// No input file is read that is larger than this.
inline constexpr long long MAX_INPUT_BYTES = 64LL * 1024 * 1024;

// Opens a regular file for reading; nullptr for a missing file, a folder, a
// device, FIFO or socket (never waits on one), or a file over MAX_INPUT_BYTES,
// with errno saying which (EISDIR, ENODEV, EFBIG, or the system's own).
std::FILE* open_for_reading(const std::string& fn);

// Words for the errno open_for_reading left.
std::string open_failure_text(int e);

}  // namespace lobe
