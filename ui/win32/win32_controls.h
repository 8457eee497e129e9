// One native control of a Win32 window. Every control is a child of the top-level window, the
// ones inside a frame too (a group box does not pass on its children's notifications), so the
// window receives all WM_COMMAND, WM_VSCROLL and WM_DRAWITEM messages and hands them here.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "ui/window.h"

namespace ui::win32 {

// Text between the program (UTF-8) and the native controls (ANSI, the "A" functions).
std::string Ansi(std::string_view utf8);
std::string WindowTextUtf8(HWND hwnd);
void SetWindowTextUtf8(HWND hwnd, std::string_view utf8);

class Win32Window;

// What CreateWindowExA needs for a control, apart from position and the styles the window
// adds (child, visible, tab stop, group).
struct NativeClass {
  const char* className;
  DWORD style;
  DWORD exStyle = 0;
  int extraHeight = 0;  // a drop-down combo's height includes its open list
};

class NativeControl : public Control {
 public:
  NativeControl(Win32Window& window, const ControlSpec& spec) : window_(window), spec_(spec) {}
  ~NativeControl() override;
  NativeControl(const NativeControl&) = delete;
  NativeControl& operator=(const NativeControl&) = delete;

  bool enabled() const override;
  void setEnabled(bool on) override;

  const ControlSpec& spec() const { return spec_; }
  HWND hwnd() const { return hwnd_; }

  virtual NativeClass nativeClass() const = 0;
  // The native control exists now: set its initial content.
  virtual void created() {}
  // The native control is about to go with its window.
  void detach();
  void attach(HWND hwnd);

  // Notifications, forwarded by the window.
  virtual void command(WORD /*code*/) {}
  virtual void scroll(WORD /*code*/) {}
  virtual void draw(const DRAWITEMSTRUCT& /*item*/) {}
  virtual bool isLink() const { return false; }

 protected:
  // Replaces the control's window procedure with subclassProc().
  void subclass();
  virtual LRESULT subclassProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT callOriginal(UINT msg, WPARAM wp, LPARAM lp);
  // Runs the handler; callers do this last, since a handler may destroy the window.
  void raise(Event event);
  LRESULT send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return hwnd_ ? SendMessageA(hwnd_, msg, wp, lp) : 0;
  }

  Win32Window& window_;
  const ControlSpec& spec_;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK SubclassThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  WNDPROC original_ = nullptr;
};

// The control class for spec's kind; the native control is created by the window afterwards.
std::unique_ptr<NativeControl> MakeControl(Win32Window& window, const ControlSpec& spec);

// Per kind, in the files that implement them.
std::unique_ptr<NativeControl> MakeBrowserControl(Win32Window& window, const ControlSpec& spec);
std::unique_ptr<NativeControl> MakeImageControl(Win32Window& window, const ControlSpec& spec);
// The program's 32x32 icon from the same pixels as the program file's icon; null on failure.
HICON CreateProgramIcon();

}  // namespace ui::win32
