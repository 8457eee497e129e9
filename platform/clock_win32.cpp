// The local time on Windows, as the system's clock and time-zone settings give it.
#include "platform/clock.h"

#include <windows.h>

namespace platform {

LocalTime LocalTimeNow() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace platform
