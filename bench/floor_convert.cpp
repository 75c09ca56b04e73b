// The floor of a whole-process `lobeconv convert`: a C++ program without Qt
// that reads IN and writes its bytes to OUT the safe way (beside it, synced,
// renamed over it), and nothing else.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string temp = std::string(argv[2]) + ".floor";
  std::FILE* out = std::fopen(temp.c_str(), "wb");
  if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0 ||
      fsync(fileno(out)) != 0 || std::fclose(out) != 0)
    return 1;
  return std::rename(temp.c_str(), argv[2]) == 0 ? 0 : 1;
}
