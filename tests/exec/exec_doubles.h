// Test doubles for the runner: the in-memory output box (ui/memory/memory_text.h), and a waiter
// that records how often it was asked to run and can act like a user between two reads.
#pragma once

#include <functional>

#include "ui/memory/memory_text.h"
#include "ui/window.h"

#ifndef _WIN32
#include <poll.h>
#else
#include <windows.h>
// windows.h names the ANSI call SetEnvironmentVariable, which hides config's function of that
// name from the tests that include this file.
#undef SetEnvironmentVariable
#endif

namespace exec_test {

class FakeWaiter : public exec::Waiter {
 public:
  // Runs on every processPendingEvents call, with the number of the call (from 1).
  std::function<void(int call)> onEvents;

  void processPendingEvents() override {
    ++eventCalls_;
    if (onEvents) onEvents(eventCalls_);
  }
#ifdef _WIN32
  // An anonymous pipe cannot be waited on; a short sleep stands for the wait.
  void waitForOutput(exec::PipeEnd) override {
    ++waits_;
    Sleep(1);
  }
#else
  void waitForOutput(exec::PipeEnd fd) override {
    ++waits_;
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, exec::kWaitSliceMs);
  }
#endif

  int eventCalls() const { return eventCalls_; }
  int waits() const { return waits_; }

 private:
  int eventCalls_ = 0;
  int waits_ = 0;
};

}  // namespace exec_test
