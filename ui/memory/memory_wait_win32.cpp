// The in-memory backend's wait for a child's output on Windows. An anonymous pipe cannot be
// waited on, so the pipe is polled; between polls the test's "user" keeps acting, as a real
// window keeps handling events.
#include <windows.h>

#include "ui/memory/memory_backend.h"

namespace ui {

void MemoryBackend::waitForOutput(exec::PipeEnd pipe) {
  if (exec::PipeReady(pipe)) return;
  Sleep(1);
  ++waitTicks_;
  processPendingEvents();
}

}  // namespace ui
