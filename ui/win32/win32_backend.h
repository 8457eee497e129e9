// The Win32 backend: the event loop of the program's one window thread, message boxes, and the
// wait for a child's output that keeps the windows working.
#pragma once

#include <windows.h>

#include <deque>
#include <vector>

#include "ui/window_base.h"

namespace ui::win32 {

class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  std::unique_ptr<Window> createWindow(const WindowSpec& spec) override;
  void messageBox(std::string_view text, std::string_view title) override;
  bool askYesNo(std::string_view text, std::string_view title) override;
  void post(Handler fn) override;
  void run() override;
  void processPendingEvents() override;
  void waitForOutput(exec::PipeEnd pipe) override;

  Activation& activation() { return activation_; }
  // The system's resolution, which windows are laid out at. The manifest declares the program
  // aware of it, so Windows does not stretch the windows' bitmaps instead.
  int dpi() const { return dpi_; }
  // The windows report their native lifetime, so run() knows when the last one is gone.
  void windowCreated(HWND hwnd);
  void windowDestroyed(HWND hwnd);
  int windowCount() const { return static_cast<int>(windows_.size()); }

 private:
  static LRESULT CALLBACK MessageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void dispatch(MSG& msg);
  void runOnePosted();
  bool isOurWindow(HWND hwnd) const;
  // A message box owned by the program's active window; the button pressed (IDOK, IDYES ...).
  int showMessageBox(std::string_view text, std::string_view title, UINT buttons);

  Activation activation_;
  int dpi_ = kBaseDpi;
  HWND messageWindow_ = nullptr;
  std::deque<Handler> posted_;
  std::vector<HWND> windows_;
};

}  // namespace ui::win32
