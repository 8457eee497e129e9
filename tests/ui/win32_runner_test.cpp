// The captured process runner with the native window layer: real children (the test writer)
// stream into a native multi-line box while the Win32 event loop keeps running, and many runs
// leave no handle open.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "exec/process.h"
#include "support/test_support.h"
#include "ui/output_filter.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_window.h"

namespace {

constexpr ui::ControlSpec kControls[] = {
    {"Text3", ui::Kind::MultiLineText, "", "", {120, 240, 8655, 2175}, ui::kFont6Bold, 0},
};
const ui::WindowSpec kSpec{.name = "Runner", .caption = "Runner", .clientWidth = 9000,
                           .clientHeight = 2600, .controls = kControls};

// Open handles of this process. Wine's GetProcessHandleCount always answers 0, so the handle
// table is probed there instead.
std::size_t OpenHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
  std::size_t probed = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++probed;
  }
  return probed;
}

struct Win32Runner : ::testing::Test {
  Win32Runner() : window(backend.createWindow(kSpec)) {}
  void run(const exec::CommandLine& commandLine) {
    ui::ExecAndCapture(commandLine, window->get<ui::TextBox>("Text3"), nullptr,
                       exec::RunContext{testing_support::BuildToolsDir(), &backend});
  }
  ui::win32::Win32Backend backend;
  std::unique_ptr<ui::Window> window;
};

TEST_F(Win32Runner, OutputFollowsTheTextInTheBoxInTheOrderItWasWritten) {
  auto& box = window->get<ui::TextBox>("Text3");
  box.setText("before\r\n");
  HWND edit = dynamic_cast<ui::win32::Win32Window&>(*window).nativeHandle("Text3");
  SendMessageA(edit, EM_SETSEL, 8, 8);
  int postedRuns = 0;
  backend.post([&] { ++postedRuns; });
  run({"telvo-test-writer", "text", "A", "err", "B", "sleep", "300", "bytes", "30000",
       "interleave", "2"});
  // 30000 bytes arrive in several reads; the runner's own tests check their content.
  const std::string text = box.text();
  const std::string head = "before\r\nABline 0000000\n";
  const std::string tail = "out 0\nerr 0\nout 1\nerr 1\n";
  EXPECT_EQ(text.size(), 8 + 2 + 30000 + tail.size());
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - std::min(text.size(), tail.size())), tail);
  EXPECT_EQ(postedRuns, 1) << "the window's events run while the child is silent";
}

TEST_F(Win32Runner, ManyRunsAndMissingProgramsLeaveNoHandleOpen) {
  run({"telvo-test-writer", "text", "warm-up"});  // the first run loads what later runs reuse
  const std::size_t before = OpenHandles();
  for (int i = 0; i < 40; ++i) run({"telvo-test-writer", "text", "x"});
  for (int i = 0; i < 10; ++i) run({"telvo-no-such-program", "--help"});
  EXPECT_EQ(OpenHandles(), before);
  const std::string text = window->get<ui::TextBox>("Text3").text();
  const std::string ran = "warm-up" + std::string(40, 'x');
  EXPECT_EQ(text.substr(0, ran.size()), ran) << text;
  EXPECT_GT(text.size(), ran.size()) << "each missing program is reported in the box";
}

}  // namespace
