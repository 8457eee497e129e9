// A top-level Win32 window built from a WindowSpec, with native controls and no toolkit.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_fonts.h"
#include "ui/window_base.h"

namespace ui::win32 {

class Win32Backend;

class Win32Window : public WindowBase {
 public:
  Win32Window(const WindowSpec& spec, Win32Backend& backend);
  ~Win32Window() override;

  bool enabled() const override;
  void setEnabled(bool on) override;
  void setOwner(Window& owner) override;

  HWND hwnd() const { return hwnd_; }
  // The native control called name; null when the window has no such control or is gone.
  HWND nativeHandle(std::string_view name) const;
  // Option buttons form one group per container: selected clears the others of its container.
  void clearOtherOptions(const NativeControl& selected);

  static constexpr const char* kClassName = "TelvoWindow";

 protected:
  Control& nativeControl(std::string_view name) override;
  void nativeShow() override;
  void nativeFocus() override;
  void nativeDestroy() override;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void createNative();
  void createControls();
  void setIcon();
  NativeControl* controlOf(HWND child) const;
  void destroyNative();

  Win32Backend& backend_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  HICON icon_ = nullptr;
  FontCache fonts_;
  std::map<std::string, std::unique_ptr<NativeControl>, std::less<>> controls_;
};

}  // namespace ui::win32
