// A command must never write over its own input: `pattern3d x.nsma x.nsma`
// would replace the pattern with a table, a batch whose output is a link to
// another of its inputs would overwrite that input before reading it.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace lobe::lobeconv {

// The input `output` is the same file as (same device and inode, so through
// links and hard links too), or nullopt. An output that does not exist yet is
// none of them.
std::optional<std::string> input_written_over(const std::string& output, const std::vector<std::string>& inputs);

// Says so, naming both, and returns true when `output` is one of `inputs`.
bool refuse_output_over_input(const std::string& output, const std::vector<std::string>& inputs, std::ostream& err);

// "png", "svg", "pdf" and the other picture extensions, in any case: names
// `convert` refuses (it writes pattern files; `render` draws pictures).
bool is_picture_name(const std::string& path);

}  // namespace lobe::lobeconv
