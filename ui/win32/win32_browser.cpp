// The file browser's three native lists: drives in a drop-down combo box, the directory tree
// and the files of the opened directory in list boxes. What they hold is decided in
// ui/file_browser.h, as in every backend; these only show it and report the user's picks.
#include <string>
#include <vector>

#include "ui/file_browser.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_window.h"

namespace ui::win32 {

namespace {

void FillList(HWND list, const std::vector<std::string>& texts) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& text : texts) {
    const std::string ansi = Ansi(text);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

class DriveControl : public NativeControl, public BrowserDrives {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, /*extraHeight=*/200};
  }
  void created() override { beginBrowsing(); }
  void command(WORD code) override {
    if (code == CBN_SELCHANGE) userPicked(static_cast<int>(send(CB_GETCURSEL)));
  }

 protected:
  void showDrives(const std::vector<std::string>& drives, int selected) override {
    send(CB_RESETCONTENT);
    for (const std::string& drive : drives)
      send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Ansi(drive).c_str()));
    send(CB_SETCURSEL, static_cast<WPARAM>(selected));
  }
  void changed() override { raise(Event::Change); }
};

// Ancestors, the opened directory and its subdirectories, indented by depth. Highlighting an
// entry (mouse or arrow keys) changes nothing; a double-click or Enter opens it.
class DirControl : public NativeControl, public BrowserDirs {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  void created() override {
    beginBrowsing();
    subclass();
  }
  void command(WORD code) override {
    if (code == LBN_DBLCLK) openHighlighted();
  }

 protected:
  LRESULT subclassProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_GETDLGCODE) {
      const auto* key = reinterpret_cast<const MSG*>(lp);
      LRESULT code = callOriginal(msg, wp, lp);
      if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    if (msg == WM_CHAR && wp == VK_RETURN) return 0;
    if (msg == WM_KEYDOWN && wp == VK_RETURN) {
      openHighlighted();
      return 0;
    }
    return callOriginal(msg, wp, lp);
  }
  void showDirectories(const std::vector<platform::DirEntry>& entries) override {
    std::vector<std::string> texts;
    int opened = -1;
    for (const platform::DirEntry& entry : entries) {
      if (entry.opened) opened = static_cast<int>(texts.size());
      texts.push_back(std::string(static_cast<size_t>(entry.depth) * 2, ' ') + entry.label);
    }
    FillList(hwnd_, texts);
    send(LB_SETCURSEL, static_cast<WPARAM>(opened));
  }
  void changed() override { raise(Event::Change); }

 private:
  void openHighlighted() { userOpened(static_cast<int>(send(LB_GETCURSEL))); }
};

class FileControl : public NativeControl, public BrowserFiles {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  void created() override { beginBrowsing(); }
  void command(WORD code) override {
    if (code == LBN_SELCHANGE) raise(Event::Click);
    if (code == LBN_DBLCLK) raise(Event::DblClick);
  }

 protected:
  void showFiles(const std::vector<std::string>& files) override { FillList(hwnd_, files); }
  void selectLine(int index) override { send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
  int selectedLine() const override { return static_cast<int>(send(LB_GETCURSEL)); }
};

}  // namespace

std::unique_ptr<NativeControl> MakeBrowserControl(Win32Window& window, const ControlSpec& spec) {
  if (spec.kind == Kind::DriveList) return std::make_unique<DriveControl>(window, spec);
  if (spec.kind == Kind::DirList) return std::make_unique<DirControl>(window, spec);
  return std::make_unique<FileControl>(window, spec);
}

}  // namespace ui::win32
