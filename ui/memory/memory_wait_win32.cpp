// The in-memory backend's wait for a child's output on Windows. An anonymous pipe cannot be
// waited on, so the pipe is polled; between polls the test's "user" keeps acting, as a real
// window keeps handling events.
#include <windows.h>

#include "ui/memory/memory_backend.h"

namespace ui {

void MemoryBackend::waitForPipe(void* pipe) {
  DWORD available = 0;
  // Fails once every writer has closed the pipe: the read that follows reports the end.
  if (!PeekNamedPipe(static_cast<HANDLE>(pipe), nullptr, 0, nullptr, &available, nullptr))
    return;
  if (available > 0) return;
  Sleep(1);
  ++waitTicks_;
  processPendingEvents();
}

}  // namespace ui
