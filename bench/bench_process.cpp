// Whole processes as a user starts them, timed in interleaved rounds (each
// round runs every program once, in turn, so a busy machine weighs on all
// alike): `lobeconv convert` of a small Planet file beside lobeconv-render
// doing the same (the same objects linked with Qt, as lobeconv was until it
// left drawing to lobeconv-render) and beside the floor, a C++ program
// without Qt that only copies the file safely, built as any C++ program is
// and again with the C++ library linked in as lobeconv has it; and the window from process
// start to its first paint with a file, on xcb (when DISPLAY is set) and
// offscreen.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long now_ns() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

struct finished {
  double ms = -1;        // spawn to exit
  long long printed = 0;  // the first number the program printed, if any
};

// Runs `argv` with `env` added to this process's environment; stderr is dropped.
finished run(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  std::vector<std::string> vars = env;
  for (char** e = environ; *e; ++e) vars.emplace_back(*e);
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const auto& v : vars) envp.push_back(const_cast<char*>(v.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const long long start = now_ns();
  const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  finished f;
  std::string text;
  char buf[256];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
  close(out[0]);
  int status = 0;
  if (failed || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  f.ms = (now_ns() - start) / 1e6;
  f.printed = std::atoll(text.c_str()) ? std::atoll(text.c_str()) - start : 0;
  return f;
}

double median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  const std::string tmp = (std::filesystem::temp_directory_path() / "lobeview-bench-process").string();
  std::filesystem::remove_all(tmp);
  std::filesystem::create_directories(tmp);
  const std::string in = std::string(LOBE_SAMPLES) + "/panel.pla", out = tmp + "/out.pla";

  std::vector<double> now, before, floor, floor_static;
  for (int round = 0; round < 100; ++round) {
    now.push_back(run({LOBECONV_PATH, "convert", in, out}, {}).ms);
    before.push_back(run({LOBECONV_RENDER_PATH, "convert", in, out}, {}).ms);
    floor.push_back(run({FLOOR_CONVERT_PATH, in, out}, {}).ms);
    floor_static.push_back(run({FLOOR_CONVERT_STATIC_PATH, in, out}, {}).ms);
  }
  const double n = median(now), b = median(before), f = median(floor), fs = median(floor_static);
  std::printf("Whole process, median of 100 interleaved rounds, convert of panel.pla (11 KB):\n");
  std::printf("  lobeconv (no Qt)                          %7.2f ms\n", n);
  std::printf("  lobeconv-render, the same linked with Qt  %7.2f ms\n", b);
  std::printf("  floor: copy without Qt (C++, safe write)  %7.2f ms\n", f);
  std::printf("  the floor with libstdc++ linked in        %7.2f ms\n", fs);
  std::printf("  lobeconv / floor                          %7.2f   (target <= 1.5)\n", n / f);
  std::printf("  lobeconv / floor with libstdc++ linked in %7.2f\n", n / fs);
  std::printf("  with Qt / lobeconv                        %7.2f   (target >= 3)\n", b / n);

  // The window: HOME in a scratch folder (its log and settings go there).
  const std::vector<std::string> window_env = {"HOME=" + tmp, "LOBEVIEW_FIRST_PAINT_EXIT=1"};
  std::vector<double> xcb, offscreen;
  const bool display = std::getenv("DISPLAY") != nullptr;
  for (int round = 0; round < 15; ++round) {
    auto first_paint = [&](const char* platform) {
      std::vector<std::string> env = window_env;
      env.push_back(std::string("QT_QPA_PLATFORM=") + platform);
      const finished r = run({LOBEVIEW_PATH, std::string(LOBE_SAMPLES) + "/yagi.nsma"}, env);
      return r.printed / 1e6;
    };
    if (display) xcb.push_back(first_paint("xcb"));
    offscreen.push_back(first_paint("offscreen"));
  }
  std::printf("Window, process start to the first paint with yagi.nsma, median of 15 rounds:\n");
  if (display) std::printf("  xcb (X server, window manager)            %7.1f ms   (target < 300)\n", median(xcb));
  std::printf("  offscreen                                 %7.1f ms\n", median(offscreen));
  std::filesystem::remove_all(tmp);
  return 0;
}
