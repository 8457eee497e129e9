#include "ui/win32/win32_window.h"

#include "ui/win32/win32_backend.h"

namespace ui::win32 {

// --- FontCache ---

int FontHeightForPoints(double points, int dpi) {
  // MulDiv(points, dpi, 72) for the half-point sizes too: 13.5 pt is 18 pixels at 96 dpi.
  return -PointsToPixels(points, dpi);
}

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::get(const Font& font) {
  // "Terminal" is a raster font: Windows takes its nearest size, or the substitute it maps
  // the name to, for the scaled height.
  const int height = FontHeightForPoints(font.points, dpi_);
  const auto key = std::make_tuple(height, font.weight, font.underline);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  HFONT created = CreateFontA(height, 0, 0, 0, font.weight, FALSE, font.underline ? TRUE : FALSE,
                              FALSE, OEM_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Terminal");
  fonts_.emplace(key, created);
  return created;
}

// --- Win32Window ---

namespace {

constexpr int kFirstControlId = 100;  // below are IDOK and IDCANCEL, which Enter and Escape send

DWORD WindowStyle(const WindowSpec& spec) {
  // Fixed single border: caption and system menu, no minimize, maximize or sizing border.
  return spec.sizable ? WS_OVERLAPPEDWINDOW : (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
}

void RegisterWindowClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = Win32Window::kClassName;
  registered = RegisterClassExA(&wc) != 0;
}

COLORREF ToColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

Win32Window::Win32Window(const WindowSpec& spec, Win32Backend& backend)
    : WindowBase(spec, backend.activation()), backend_(backend), fonts_(backend.dpi()) {
  for (const ControlSpec& c : spec.controls)
    controls_.emplace(std::string(c.name), MakeControl(*this, c));
  createNative();
}

Win32Window::~Win32Window() { destroyNative(); }

void Win32Window::createNative() {
  RegisterWindowClass(&Proc);
  const DWORD style = WindowStyle(spec());
  const PixelRect client = ClientPixels(spec(), backend_.dpi());
  RECT rc{0, 0, client.w, client.h};
  AdjustWindowRectEx(&rc, style, FALSE, 0);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  if (spec().centred) {
    x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  CreateWindowExA(0, kClassName, Ansi(spec().caption).c_str(), style, x, y, width, height,
                  nullptr, nullptr, GetModuleHandleA(nullptr), this);
  if (!hwnd_) return;
  backend_.windowCreated(hwnd_);
  setIcon();
  createControls();
}

void Win32Window::createControls() {
  // The dialog manager tabs through controls in creation order.
  const std::vector<const ControlSpec*> order = TabOrder(spec());
  const ControlSpec* previous = nullptr;
  int id = kFirstControlId;
  for (const ControlSpec* c : order) {
    NativeControl& control = *controls_.find(c->name)->second;
    const NativeClass native = control.nativeClass();
    DWORD style = native.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (TakesTabStop(spec(), *c)) style |= WS_TABSTOP;
    if (StartsGroup(previous, *c)) style |= WS_GROUP;
    // A frame's children become children of the window itself, at their place in the window.
    const PixelRect at = PixelBounds(spec(), *c, backend_.dpi());
    HWND child = CreateWindowExA(
        native.exStyle, native.className, "", style, at.x, at.y, at.w, at.h + native.extraHeight, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), GetModuleHandleA(nullptr), nullptr);
    previous = c;
    if (!child) continue;
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(c->font)), FALSE);
    control.attach(child);
    control.created();
  }
  // A group box paints its whole area, so it lies under its children; the logo is a picture
  // on the window's face, under the labels that overlap it.
  for (const auto& [name, control] : controls_) {
    const Kind kind = control->spec().kind;
    if ((kind == Kind::Frame || kind == Kind::Image) && control->hwnd())
      SetWindowPos(control->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Win32Window::setIcon() {
  if (!spec().hasIcon) return;
  // The program file's icon resource when there is one; the same picture drawn from the
  // logo's pixels otherwise (test programs carry no resources).
  icon_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                        32, 32, LR_DEFAULTCOLOR | LR_SHARED));
  bool shared = icon_ != nullptr;
  if (!icon_) icon_ = CreateProgramIcon();
  if (!icon_) return;
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  if (shared) icon_ = nullptr;  // a shared resource icon is the system's to free
}

void Win32Window::destroyNative() {
  for (auto& [name, control] : controls_) control->detach();
  if (hwnd_) {
    HWND hwnd = hwnd_;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
    backend_.windowDestroyed(hwnd);
  }
  if (icon_) DestroyIcon(icon_);
  icon_ = nullptr;
}

bool Win32Window::enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Win32Window::setEnabled(bool on) {
  if (hwnd_) EnableWindow(hwnd_, on ? TRUE : FALSE);
}

void Win32Window::setOwner(Window& owner) {
  auto* native = dynamic_cast<Win32Window*>(&owner);
  if (!hwnd_ || !native || !native->hwnd_) return;
  // A top-level window's "parent" slot holds its owner.
  SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(native->hwnd_));
}

Control& Win32Window::nativeControl(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end() || !it->second) badControl(name);
  return *it->second;
}

HWND Win32Window::nativeHandle(std::string_view name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second->hwnd();
}

void Win32Window::nativeShow() {
  if (!hwnd_) return;
  const bool first = !IsWindowVisible(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  if (!first) return;
  // The first control of the tab order starts with the focus, as in a dialog.
  HWND start = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (start && GetActiveWindow() == hwnd_) SetFocus(start);
}

void Win32Window::nativeFocus() {
  if (!hwnd_) return;
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  HWND target = lastFocus_ && IsChild(hwnd_, lastFocus_) ? lastFocus_
                                                          : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target && IsWindowEnabled(hwnd_)) SetFocus(target);
}

void Win32Window::nativeDestroy() { destroyNative(); }

NativeControl* Win32Window::controlOf(HWND child) const {
  if (!child || GetParent(child) != hwnd_) return nullptr;
  return reinterpret_cast<NativeControl*>(GetWindowLongPtrA(child, GWLP_USERDATA));
}

LRESULT CALLBACK Win32Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* self = static_cast<Win32Window*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

// Handlers run last in each branch: one may unload and even delete this window.
LRESULT Win32Window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      // Enter and Escape arrive as IDOK and IDCANCEL without a control: nothing is accepted
      // or cancelled by them.
      NativeControl* control = controlOf(reinterpret_cast<HWND>(lp));
      if (control) control->command(HIWORD(wp));
      return 0;
    }
    case WM_VSCROLL: {
      NativeControl* control = controlOf(reinterpret_cast<HWND>(lp));
      if (control) control->scroll(LOWORD(wp));
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      NativeControl* control = controlOf(item->hwndItem);
      if (!control) break;
      control->draw(*item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      NativeControl* control = controlOf(reinterpret_cast<HWND>(lp));
      if (!control || control->spec().foreColour == kSystemColour) break;
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, ToColorRef(control->spec().foreColour));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
      NativeControl* control = controlOf(reinterpret_cast<HWND>(wp));
      if (!control || !control->isLink()) break;
      SetCursor(LoadCursor(nullptr, IDC_HAND));
      return TRUE;
    }
    case WM_ACTIVATE:
      // Keep the focused control across switches, as a dialog does.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return 0;
      }
      if (lastFocus_ && IsChild(hwnd_, lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_CLOSE:
      requestClose();
      return 0;
    case WM_ENDSESSION:
      // Windows is shutting down or the user logs off: the process ends after this message,
      // so the window unloads now, as by its close button, and its unload handler saves.
      if (wp) requestClose();
      return 0;
    case WM_DESTROY:
      for (auto& [name, control] : controls_) control->detach();
      break;
    case WM_NCDESTROY: {
      HWND hwnd = hwnd_;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      backend_.windowDestroyed(hwnd);
      return DefWindowProcA(hwnd, msg, wp, lp);
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace ui::win32
