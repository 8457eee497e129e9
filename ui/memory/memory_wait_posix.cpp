// The in-memory backend's wait for a child's output: the test's "user" keeps acting while the
// pipe is silent, as a real window keeps handling events.
#include <poll.h>

#include <cerrno>

#include "ui/memory/memory_backend.h"

namespace ui {

void MemoryBackend::waitForOutput(exec::PipeEnd fd) {
  pollfd p{fd, POLLIN, 0};
  const int n = poll(&p, 1, 10);
  if (n > 0 || (n < 0 && errno != EINTR)) return;
  ++waitTicks_;
  processPendingEvents();
}

}  // namespace ui
