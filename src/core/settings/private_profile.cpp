#include "core/settings/private_profile.h"

#include <cstdio>
#include <vector>

#include "core/text/field_text.h"
#include "core/io/file_image.h"
#include "core/io/file_sink.h"

namespace lobe {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// One line of the file: where it starts, its text without the line end, and
// where the next one starts.
struct profile_line {
  std::size_t begin;
  std::string_view text;
  std::size_t next;
};

std::vector<profile_line> lines_of(std::string_view text) {
  std::vector<profile_line> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.push_back({pos, line, next});
    pos = next;
  }
  return out;
}

// The section a "[name]" line opens, or nullopt for any other line.
std::optional<std::string_view> section_name(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

// The key of a "key=value" line, or nullopt for comments and other lines.
std::optional<std::string_view> key_name(std::string_view line) {
  const std::string_view t = trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return trim(line.substr(0, eq));
}

std::string cut(std::string s, std::size_t size) {
  if (size == 0) return "";
  if (s.size() > size - 1) s.resize(size - 1);
  return s;
}

}  // namespace

std::optional<std::string> find_profile_value(std::string_view text, std::string_view section, std::string_view key) {
  bool in_section = false;
  for (const auto& l : lines_of(text)) {
    if (auto s = section_name(l.text)) {
      in_section = equals_nocase(*s, section);
      continue;
    }
    if (!in_section) continue;
    auto k = key_name(l.text);
    if (!k || !equals_nocase(*k, key)) continue;
    std::string_view v = trim(l.text.substr(l.text.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    return std::string(v);
  }
  return std::nullopt;
}

std::string get_private_profile_string(const std::string& section, const std::string& key, const std::string& def,
                                       std::size_t size, const std::string& path) {
  const auto text = read_whole_file(path);
  std::optional<std::string> v;
  if (text) v = find_profile_value(*text, section, key);
  return cut(v ? *v : def, size);
}

int get_private_profile_int(const std::string& section, const std::string& key, int def, const std::string& path) {
  const auto text = read_whole_file(path);
  if (!text) return def;
  const auto v = find_profile_value(*text, section, key);
  if (!v || v->empty()) return def;
  std::size_t i = 0;
  bool negative = false;
  if (i < v->size() && ((*v)[i] == '-' || (*v)[i] == '+')) negative = (*v)[i++] == '-';
  long long n = 0;
  while (i < v->size() && (*v)[i] >= '0' && (*v)[i] <= '9') {
    n = n * 10 + ((*v)[i++] - '0');
    if (n > 0x7fffffffLL) n = 0x7fffffffLL;
  }
  return static_cast<int>(negative ? -n : n);
}

std::string set_profile_value(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string entry = std::string(key) + "=" + std::string(value);
  const auto lines = lines_of(text);
  bool in_section = false;
  bool section_seen = false;
  std::size_t insert_at = 0;  // after the last non-blank line of the section
  for (const auto& l : lines) {
    if (auto s = section_name(l.text)) {
      if (in_section) break;
      in_section = equals_nocase(*s, section);
      if (in_section) {
        section_seen = true;
        insert_at = l.next;
      }
      continue;
    }
    if (!in_section) continue;
    if (auto k = key_name(l.text); k && equals_nocase(*k, key)) {
      const std::size_t text_end = l.begin + l.text.size();
      return std::string(text.substr(0, l.begin)) + entry + std::string(text.substr(text_end));
    }
    if (!trim(l.text).empty()) insert_at = l.next;
  }
  std::string out(text);
  if (section_seen) {
    // The section's last line may lack a line end when it ends the file.
    std::string add = (insert_at > 0 && out[insert_at - 1] != '\n') ? std::string("\r\n") : std::string();
    add += entry;
    add += "\r\n";
    return out.insert(insert_at, add);
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  if (!out.empty()) out += "\r\n";
  out += '[';
  out += section;
  out += "]\r\n";
  out += entry;
  out += "\r\n";
  return out;
}

bool write_private_profile_string(const std::string& section, const std::string& key, const std::string& value,
                                  const std::string& path) {
  const auto text = read_whole_file(path);
  const std::string updated = set_profile_value(text ? *text : std::string(), section, key, value);
  atomic_file out;
  if (!out.open(path)) return false;
  out.write(updated.data(), updated.size());
  return out.commit();
}

}  // namespace lobe
