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

// Runs in the intermediate child: only calls that are safe after fork, no allocation.
[[noreturn]] void SpawnDetached(const char* url) {
  int devNull = ::open("/dev/null", O_RDWR);
  if (devNull < 0) ::_exit(1);
  for (int fd = 0; fd <= 2; ++fd) ::dup2(devNull, fd);
  // The browser may outlive the program by hours; it must not hold any of the program's pipes
  // or files open.
  ::closefrom(3);

  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(url), nullptr};
  pid_t pid = 0;
  int failed = ::posix_spawnp(&pid, program, /*file_actions=*/nullptr, /*attrp=*/nullptr, argv,
                              environ);
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
