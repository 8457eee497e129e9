// telvo-test-writer on Linux: fork for the grandchild, /proc/self/fd for the descriptors.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "test_writer_platform.h"

namespace test_writer {

long StartGrandchild(long ms) {
  const pid_t pid = fork();
  if (pid != 0) return pid > 0 ? pid : 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  std::fputs("grandchild done\n", stdout);
  std::fflush(stdout);
  _exit(0);
}

std::string DescribeDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return "fds: unknown";
  std::string text = "fds:";
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == ".." || std::atoi(name.c_str()) == dirfd(dir)) continue;
    text += " " + name;
  }
  closedir(dir);
  return text;
}

}  // namespace test_writer
