// The file browser's three native lists: drives in a drop-down combo box, the directory tree
// and the files of the opened directory in list boxes. What they show comes from
// ui/filesystem.h, as in every backend.
#include <string>
#include <vector>

#include "exec/codepage.h"
#include "ui/filesystem.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window.h"

namespace ui::win32 {

namespace {

std::string CurrentDirectoryUtf8() {
  char buffer[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return {};
  return exec::AnsiToUtf8(std::string_view(buffer, length));
}

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

class DriveControl : public NativeControl, public DriveList {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, /*extraHeight=*/200};
  }
  void created() override {
    drives_ = ListDrives();
    drive_ = DriveOfPath(CurrentDirectoryUtf8());
    for (const std::string& drive : drives_)
      SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.c_str()));
    showSelection();
  }
  std::string drive() const override { return drive_; }
  void setDrive(std::string_view drive) override {
    std::string wanted = DriveOfPath(drive);
    if (wanted.empty()) wanted = drive;
    if (wanted == drive_) return;
    drive_ = wanted;
    showSelection();
    raise(Event::Change);
  }
  void command(WORD code) override {
    if (code != CBN_SELCHANGE) return;
    LRESULT index = send(CB_GETCURSEL);
    if (index < 0 || index >= static_cast<LRESULT>(drives_.size())) return;
    if (drives_[static_cast<size_t>(index)] == drive_) return;
    drive_ = drives_[static_cast<size_t>(index)];
    raise(Event::Change);
  }

 private:
  void showSelection() {
    int index = -1;
    for (size_t i = 0; i < drives_.size(); ++i)
      if (drives_[i] == drive_) index = static_cast<int>(i);
    send(CB_SETCURSEL, static_cast<WPARAM>(index));
  }

  std::vector<std::string> drives_;
  std::string drive_;
};

// Ancestors, the opened directory and its subdirectories, indented by depth. Highlighting an
// entry (mouse or arrow keys) changes nothing; a double-click or Enter opens it.
class DirControl : public NativeControl, public DirList {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  void created() override {
    path_ = CurrentDirectoryUtf8();
    SharedDriveDirectories().record(path_);
    refill();
    subclass();
  }
  std::string path() const override { return path_; }
  void setPath(std::string_view path) override {
    if (path == path_) return;
    path_ = path;
    SharedDriveDirectories().record(path_);
    refill();
    raise(Event::Change);
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

 private:
  void refill() {
    entries_ = DirListEntries(path_);
    std::vector<std::string> texts;
    int opened = -1;
    for (const DirEntry& entry : entries_) {
      if (entry.opened) opened = static_cast<int>(texts.size());
      texts.push_back(std::string(static_cast<size_t>(entry.depth) * 2, ' ') + entry.label);
    }
    FillList(hwnd_, texts);
    send(LB_SETCURSEL, static_cast<WPARAM>(opened));
  }
  void openHighlighted() {
    LRESULT index = send(LB_GETCURSEL);
    if (index < 0 || index >= static_cast<LRESULT>(entries_.size())) return;
    const std::string target = entries_[static_cast<size_t>(index)].path;
    setPath(target);
  }

  std::string path_;
  std::vector<DirEntry> entries_;
};

class FileControl : public NativeControl, public FileList {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  void created() override { setPath(CurrentDirectoryUtf8()); }
  std::string path() const override { return path_; }
  void setPath(std::string_view path) override {
    path_ = path;
    files_ = ListFiles(path_);
    FillList(hwnd_, files_);
  }
  int listCount() const override { return static_cast<int>(files_.size()); }
  int listIndex() const override {
    LRESULT index = send(LB_GETCURSEL);
    return index < 0 || index >= static_cast<LRESULT>(files_.size()) ? -1 : static_cast<int>(index);
  }
  void setListIndex(int index) override {
    send(LB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < listCount() ? index : -1));
  }
  std::string item(int index) const override {
    return index >= 0 && index < listCount() ? files_[static_cast<size_t>(index)] : std::string();
  }
  void command(WORD code) override {
    if (code == LBN_SELCHANGE) raise(Event::Click);
    if (code == LBN_DBLCLK) raise(Event::DblClick);
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

}  // namespace

std::unique_ptr<NativeControl> MakeBrowserControl(Win32Window& window, const ControlSpec& spec) {
  if (spec.kind == Kind::DriveList) return std::make_unique<DriveControl>(window, spec);
  if (spec.kind == Kind::DirList) return std::make_unique<DirControl>(window, spec);
  return std::make_unique<FileControl>(window, spec);
}

}  // namespace ui::win32
