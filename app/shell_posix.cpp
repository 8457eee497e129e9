// Opening a web page on POSIX systems: xdg-open, started directly without a shell, with its
// standard streams on /dev/null. A short-lived intermediate child starts it and exits at once;
// waiting for that child leaves xdg-open to the system, so no zombie is left behind and the
// window never waits for the browser.
#include "app/shell.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace app {

namespace {

// Runs in the intermediate child: only calls that are safe after fork.
[[noreturn]] void SpawnDetached(const char* url) {
  // The browser may outlive the program by hours; it must not hold any of the program's pipes
  // or files open.
  ::closefrom(3);

  posix_spawn_file_actions_t actions;
  if (::posix_spawn_file_actions_init(&actions) != 0) ::_exit(1);
  for (int fd = 0; fd <= 2; ++fd) {
    int flags = fd == 0 ? O_RDONLY : O_WRONLY;
    ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", flags, 0);
  }
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(url), nullptr};
  pid_t pid = 0;
  int failed = ::posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
  ::_exit(failed == 0 ? 0 : 1);
}

}  // namespace

void OpenInBrowser(std::string_view url) {
  std::string text(url);
  pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) SpawnDetached(text.c_str());
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace app
