// The entry of two programs: lobeconv, which needs no Qt, and
// lobeconv-render (built with LOBECONV_RENDER), which draws. lobeconv hands
// a render command line over to lobeconv-render, found beside it.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli/lobeconv_commands.h"
#include "core/io/file_sink.h"

namespace {

// A conversion killed mid-save takes its temporary file with it.
extern "C" void remove_temp_and_die(int sig) {
  lobe::remove_pending_temp_file();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

#ifndef LOBECONV_RENDER
int hand_over_to_renderer(const std::vector<std::string>& args, std::ostream& err) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::string renderer = (self.parent_path() / "lobeconv-render").string();
  std::vector<char*> argv = {const_cast<char*>(renderer.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::cout.flush();
  ::execv(renderer.c_str(), argv.data());
  err << "lobeconv: cannot run " << renderer << " to render: " << std::strerror(errno) << "\n";
  return 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  // Dates in the log follow the user's locale; numbers never do (core formats them in "C").
  std::setlocale(LC_ALL, "");
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, remove_temp_and_die);
  // Past the file size limit a write fails (and the save is abandoned, its
  // temporary file removed) instead of the process being killed.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  lobe::lobeconv_renderer renderer;
#ifdef LOBECONV_RENDER
  renderer.draw = lobe::render_pattern;
  renderer.picture = lobe::render_picture;
  renderer.document = lobe::render_document;
#else
  renderer.hand_over = hand_over_to_renderer;
#endif
  return lobe::run_lobeconv(args, std::cout, std::cerr, renderer);
}
