// The window keeps working while the runner waits for a silent tool: a 50 ms timer of the real
// window toolkit keeps firing, and the main window stays shown, for the whole wait.
#include <gtest/gtest.h>

#include <FL/Fl.H>

#include <chrono>
#include <cstdlib>

#include "app/form1_layout.h"
#include "exec/process.h"
#include "support/test_support.h"
#include "ui/output_filter.h"
#include "ui/window.h"

namespace {

struct Ticker {
  int ticks = 0;
  static void Tick(void* self) {
    ++static_cast<Ticker*>(self)->ticks;
    Fl::repeat_timeout(0.05, Tick, self);
  }
};

TEST(Responsiveness, TheWindowHandlesEventsThroughoutATwoSecondSilentChild) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  std::unique_ptr<ui::Backend> backend = ui::CreateNativeBackend();
  std::unique_ptr<ui::Window> window = backend->createWindow(app::Form1Spec());
  window->show();
  backend->processPendingEvents();
  auto& output = window->get<ui::TextBox>("Text3");

  Ticker ticker;
  Fl::add_timeout(0.05, Ticker::Tick, &ticker);
  const auto start = std::chrono::steady_clock::now();
  ui::ExecAndCapture({"telvo-test-writer", "sleep", "2000", "text", "done"}, output, nullptr,
                     {testing_support::BuildToolsDir(), backend.get()});
  const auto elapsed = std::chrono::steady_clock::now() - start;
  Fl::remove_timeout(Ticker::Tick, &ticker);

  EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
  EXPECT_GE(ticker.ticks, 20) << "timer ticks handled while the call was waiting";
  EXPECT_EQ(output.text(), "done");
}

}  // namespace
