#include "ui/win32/win32_backend.h"

#include <algorithm>

#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_window.h"

namespace ui::win32 {

namespace {

// Private messages of the hidden message-only window.
constexpr UINT kRunPosted = WM_APP + 1;  // one posted function is due
constexpr UINT kWake = WM_APP + 2;       // the last window went: run() looks again

constexpr const char* kMessageClass = "TelvoMessages";

}  // namespace

Win32Backend::Win32Backend() : activation_([this](Handler fn) { post(std::move(fn)); }) {
  if (HDC screen = GetDC(nullptr)) {
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    if (dpi > 0) dpi_ = dpi;
    ReleaseDC(nullptr, screen);
  }
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &MessageProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kMessageClass;
  RegisterClassExA(&wc);  // fails harmlessly when a second backend registers it again
  messageWindow_ = CreateWindowExA(0, kMessageClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(messageWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Backend::~Win32Backend() {
  if (messageWindow_) DestroyWindow(messageWindow_);
}

std::unique_ptr<Window> Win32Backend::createWindow(const WindowSpec& spec) {
  return std::make_unique<Win32Window>(spec, *this);
}

int Win32Backend::showMessageBox(std::string_view text, std::string_view title, UINT buttons) {
  HWND owner = GetActiveWindow();
  if (owner && !isOurWindow(owner)) owner = nullptr;
  return MessageBoxA(owner, Ansi(text).c_str(), Ansi(title).c_str(), buttons);
}

void Win32Backend::messageBox(std::string_view text, std::string_view title) {
  showMessageBox(text, title, MB_OK);
}

// A box with "Yes" and "No" has no other way out; MB_DEFBUTTON2 makes "No" the default.
bool Win32Backend::askYesNo(std::string_view text, std::string_view title) {
  return showMessageBox(text, title, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void Win32Backend::post(Handler fn) {
  posted_.push_back(std::move(fn));
  PostMessageA(messageWindow_, kRunPosted, 0, 0);
}

void Win32Backend::runOnePosted() {
  if (posted_.empty()) return;
  Handler fn = std::move(posted_.front());
  posted_.pop_front();
  if (fn) fn();
}

LRESULT CALLBACK Win32Backend::MessageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && msg == kRunPosted) {
    self->runOnePosted();
    return 0;
  }
  if (msg == kWake) return 0;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool Win32Backend::isOurWindow(HWND hwnd) const {
  return std::find(windows_.begin(), windows_.end(), hwnd) != windows_.end();
}

void Win32Backend::windowCreated(HWND hwnd) { windows_.push_back(hwnd); }

void Win32Backend::windowDestroyed(HWND hwnd) {
  auto it = std::find(windows_.begin(), windows_.end(), hwnd);
  if (it == windows_.end()) return;
  windows_.erase(it);
  if (windows_.empty()) PostMessageA(messageWindow_, kWake, 0, 0);
}

void Win32Backend::dispatch(MSG& msg) {
  // The dialog manager gives every window Tab navigation; Enter and Escape reach the window
  // as commands without a control, which it ignores.
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && isOurWindow(root) && IsDialogMessageA(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Win32Backend::run() {
  MSG msg;
  while (!windows_.empty()) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;  // WM_QUIT from elsewhere, or no message queue
    dispatch(msg);
  }
  // Functions posted by the last unload still run, as they would in the loop.
  while (!posted_.empty()) runOnePosted();
}

void Win32Backend::processPendingEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Not ours to consume: leave it for the loop that is meant to end.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    dispatch(msg);
  }
}

// Polls the pipe, keeping the windows working between polls.
void Win32Backend::waitForOutput(exec::PipeEnd pipe) {
  if (exec::PipeReady(pipe)) return;
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  processPendingEvents();
}

}  // namespace ui::win32

namespace ui {

std::unique_ptr<Backend> CreateNativeBackend() { return std::make_unique<win32::Win32Backend>(); }

}  // namespace ui
