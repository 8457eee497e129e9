// A top-level Win32 window built from a WindowSpec, with native controls and no toolkit.
#pragma once

#include <windows.h>

#include <map>
#include <tuple>
#include <memory>
#include <string>

#include "ui/win32/win32_controls.h"
#include "ui/window_base.h"

namespace ui::win32 {

class Win32Backend;

// The raster font "Terminal" with the OEM character set, one GDI font per size, weight and
// underline, shared by the controls of one window and deleted with it.
// Character height in pixels for a point size at dpi dots per inch, negative as CreateFont
// wants it for a character (not cell) height: at 96, 9 pt -> -12, 6 pt -> -8, 13.5 pt -> -18.
int FontHeightForPoints(double points, int dpi = kBaseDpi);

class FontCache {
 public:
  // Fonts for a window laid out at dpi dots per inch.
  explicit FontCache(int dpi) : dpi_(dpi) {}
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  HFONT get(const Font& font);

 private:
  int dpi_;
  std::map<std::tuple<int, int, bool>, HFONT> fonts_;
};


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
