#include <clocale>
#include <csignal>
#include <iostream>

#include "cli/lobeconv_commands.h"
#include "core/formats/file_sink.h"

namespace {

// A conversion killed mid-save takes its temporary file with it.
extern "C" void remove_temp_and_die(int sig) {
  lobe::remove_pending_temp_file();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

int main(int argc, char** argv) {
  // Dates in the log follow the user's locale; numbers never do (core formats them in "C").
  std::setlocale(LC_ALL, "");
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, remove_temp_and_die);
  // Past the file size limit a write fails (and the save is abandoned, its
  // temporary file removed) instead of the process being killed.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  return lobe::run_lobeconv(args, std::cout, std::cerr);
}
