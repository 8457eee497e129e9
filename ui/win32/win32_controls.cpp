// The simple native controls: labels, buttons, frames, check and option boxes, text boxes,
// list boxes and the scroll bar. The file browser's lists and the logo have files of their own.
#include "ui/win32/win32_controls.h"

#include <algorithm>

#include "platform/codepage.h"
#include "ui/output_filter.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window.h"

namespace ui::win32 {

// --- NativeControl ---

NativeControl::~NativeControl() { detach(); }

bool NativeControl::enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void NativeControl::setEnabled(bool on) {
  if (hwnd_) EnableWindow(hwnd_, on ? TRUE : FALSE);
}

void NativeControl::attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void NativeControl::detach() {
  if (!hwnd_) return;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  if (original_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  original_ = nullptr;
  hwnd_ = nullptr;
}

void NativeControl::subclass() {
  if (!hwnd_ || original_) return;
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassThunk)));
}

LRESULT CALLBACK NativeControl::SubclassThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<NativeControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || !self->original_) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    WNDPROC original = self->original_;
    self->detach();
    return CallWindowProcA(original, hwnd, msg, wp, lp);
  }
  return self->subclassProc(msg, wp, lp);
}

LRESULT NativeControl::subclassProc(UINT msg, WPARAM wp, LPARAM lp) {
  return callOriginal(msg, wp, lp);
}

LRESULT NativeControl::callOriginal(UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(original_, hwnd_, msg, wp, lp);
}

void NativeControl::raise(Event event) { window_.raise(spec_.name, event); }

namespace {

std::string ListText(const NativeControl& list, UINT lengthMsg, UINT textMsg, int index) {
  HWND hwnd = list.hwnd();
  if (!hwnd) return {};
  LRESULT length = SendMessageA(hwnd, lengthMsg, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = SendMessageA(hwnd, textMsg, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return platform::AnsiToUtf8(buffer);
}

// Labels, frames and buttons: the caption is the window text.
class CaptionedControl : public NativeControl, public Captioned {
 public:
  using NativeControl::NativeControl;
  std::string caption() const override { return WindowTextUtf8(hwnd_); }
  void setCaption(std::string_view text) override { SetWindowTextUtf8(hwnd_, text); }
  void created() override { setCaption(spec_.caption); }
};

class Label : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  NativeClass nativeClass() const override {
    // SS_NOTIFY: labels report clicks; SS_NOPREFIX: an '&' is shown, not an accelerator.
    DWORD style = SS_NOTIFY | SS_NOPREFIX | (spec_.align == Align::Centre ? SS_CENTER : SS_LEFT);
    if (spec_.border) style |= WS_BORDER;
    return {"STATIC", style};
  }
  bool isLink() const override { return spec_.kind == Kind::LinkLabel; }
  void command(WORD code) override {
    if (code == STN_CLICKED) raise(Event::Click);
  }
};

class Button : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  // Captions wrap at word boundaries when they are wider than the button.
  NativeClass nativeClass() const override { return {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE}; }
  void command(WORD code) override {
    if (code == BN_CLICKED) raise(Event::Click);
  }
};

class Frame : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  NativeClass nativeClass() const override { return {"BUTTON", BS_GROUPBOX}; }
};

class CheckBoxControl : public CaptionedControl, public CheckBox {
 public:
  using CaptionedControl::CaptionedControl;
  NativeClass nativeClass() const override { return {"BUTTON", BS_AUTOCHECKBOX}; }
  int value() const override { return send(BM_GETCHECK) == BST_CHECKED ? 1 : 0; }
  void setValue(int value) override { send(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED); }
  void command(WORD code) override {
    if (code == BN_CLICKED) raise(Event::Click);
  }
};

class OptionControl : public CaptionedControl, public OptionButton {
 public:
  using CaptionedControl::CaptionedControl;
  NativeClass nativeClass() const override { return {"BUTTON", BS_AUTORADIOBUTTON}; }
  bool value() const override { return send(BM_GETCHECK) == BST_CHECKED; }
  void setValue(bool selected) override {
    send(BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED);
    if (selected) window_.clearOtherOptions(*this);
  }
  void command(WORD code) override {
    if (code != BN_CLICKED) return;
    // The dialog manager's own grouping follows the creation order, which is the tab order;
    // the container decides here, so a group split by another control still holds.
    window_.clearOtherOptions(*this);
    raise(Event::Click);
  }
};

class TextControl : public NativeControl, public TextBox {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    if (spec_.kind == Kind::MultiLineText)
      return {"EDIT", ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN,
              WS_EX_CLIENTEDGE};
    return {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
  }
  void created() override {
    // No practical length limit: the output box collects a whole run's output.
    send(EM_SETLIMITTEXT, 0x7FFFFFFE);
    setText(spec_.caption);
    subclass();
  }
  std::string text() const override { return WindowTextUtf8(hwnd_); }
  void setText(std::string_view text) override { SetWindowTextUtf8(hwnd_, text); }
  void replaceSelection(std::string_view text) override {
    const std::string ansi = Ansi(text);
    send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(ansi.c_str()));
    if (spec_.kind == Kind::MultiLineText) trimOldest();
    send(EM_SCROLLCARET);
  }
  void clearLineToCaret() override {
    DWORD start = 0;
    DWORD end = 0;
    send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    send(EM_SETSEL, LineStart(start), end);
    send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    send(EM_SCROLLCARET);
  }

 protected:
  LRESULT subclassProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_GETDLGCODE:
        // Tabbing in must not select the whole text: the next chunk of tool output would
        // replace it.
        return callOriginal(msg, wp, lp) & ~DLGC_HASSETSEL;
      case WM_KEYDOWN:
      case WM_CHAR:
        if (wp == VK_ESCAPE) return 0;  // Escape closes nothing
        break;
      case WM_LBUTTONDOWN: {
        // Only the mouse counts as a click; the keyboard focus does not.
        LRESULT result = callOriginal(msg, wp, lp);
        raise(Event::Click);
        return result;
      }
      default:
        break;
    }
    return callOriginal(msg, wp, lp);
  }

 private:
  // Where the line that pos is in starts. The control's rows are its wrapped lines: a row
  // whose predecessor ends in a line break (the row's text stops short of the next row) starts
  // a line; one that the width wrapped continues the line before.
  DWORD LineStart(DWORD pos) const {
    LRESULT row = send(EM_LINEFROMCHAR, pos);
    LRESULT rowStart = send(EM_LINEINDEX, static_cast<WPARAM>(row));
    while (row > 0) {
      const LRESULT before = send(EM_LINEINDEX, static_cast<WPARAM>(row - 1));
      if (before + send(EM_LINELENGTH, static_cast<WPARAM>(before)) < rowStart) break;
      --row;
      rowStart = before;
    }
    return rowStart < 0 ? 0 : static_cast<DWORD>(rowStart);
  }

  // The control keeps the caret and the selection where they were in the text it keeps.
  void trimOldest() {
    const LRESULT length = send(WM_GETTEXTLENGTH);
    auto lineStart = [this](std::size_t pos) {
      return static_cast<std::size_t>(LineStart(static_cast<DWORD>(pos)));
    };
    const std::size_t cut = OutputTrimCount(static_cast<std::size_t>(length), lineStart);
    if (cut == 0) return;
    DWORD start = 0;
    DWORD end = 0;
    send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const DWORD dropped = static_cast<DWORD>(cut);
    send(EM_SETSEL, 0, dropped);
    send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    send(EM_SETSEL, start > dropped ? start - dropped : 0, end > dropped ? end - dropped : 0);
  }
};

class ListControl : public NativeControl, public ListBox {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  void addItem(std::string_view text) override {
    const std::string ansi = Ansi(text);
    send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
  }
  void removeItem(int index) override {
    if (index >= 0 && index < listCount()) send(LB_DELETESTRING, static_cast<WPARAM>(index));
  }
  void clear() override { send(LB_RESETCONTENT); }
  int listCount() const override { return static_cast<int>(send(LB_GETCOUNT)); }
  int listIndex() const override {
    LRESULT index = send(LB_GETCURSEL);
    return index == LB_ERR ? -1 : static_cast<int>(index);
  }
  void setListIndex(int index) override {
    send(LB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < listCount() ? index : -1));
  }
  std::string item(int index) const override {
    if (index < 0 || index >= listCount()) return {};
    return ListText(*this, LB_GETTEXTLEN, LB_GETTEXT, index);
  }
  void command(WORD code) override {
    if (code == LBN_SELCHANGE) raise(Event::Click);
    if (code == LBN_DBLCLK) raise(Event::DblClick);
  }
};

// Value 0 at the top; the down arrow raises it. Every step is 1, the page keys included.
class ScrollControl : public NativeControl, public ScrollBar {
 public:
  ScrollControl(Win32Window& w, const ControlSpec& s) : NativeControl(w, s), value_(s.minimum) {}
  NativeClass nativeClass() const override { return {"SCROLLBAR", SBS_VERT}; }
  void created() override {
    SetScrollRange(hwnd_, SB_CTL, spec_.minimum, spec_.maximum, FALSE);
    SetScrollPos(hwnd_, SB_CTL, value_, TRUE);
  }
  int value() const override { return value_; }
  void setValue(int value) override {
    value = std::clamp(value, spec_.minimum, spec_.maximum);
    if (value == value_) return;
    value_ = value;
    SetScrollPos(hwnd_, SB_CTL, value_, TRUE);
    raise(Event::Change);
  }
  void scroll(WORD code) override {
    switch (code) {
      case SB_LINEUP:
      case SB_PAGEUP: setValue(value_ - 1); break;
      case SB_LINEDOWN:
      case SB_PAGEDOWN: setValue(value_ + 1); break;
      case SB_TOP: setValue(spec_.minimum); break;
      case SB_BOTTOM: setValue(spec_.maximum); break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(hwnd_, SB_CTL, &info)) setValue(info.nTrackPos);
        break;
      }
      default: break;
    }
  }

 private:
  int value_;
};

}  // namespace

std::unique_ptr<NativeControl> MakeControl(Win32Window& window, const ControlSpec& spec) {
  switch (spec.kind) {
    case Kind::Label:
    case Kind::LinkLabel: return std::make_unique<Label>(window, spec);
    case Kind::Button: return std::make_unique<Button>(window, spec);
    case Kind::Frame: return std::make_unique<Frame>(window, spec);
    case Kind::CheckBox: return std::make_unique<CheckBoxControl>(window, spec);
    case Kind::OptionButton: return std::make_unique<OptionControl>(window, spec);
    case Kind::TextBox:
    case Kind::MultiLineText: return std::make_unique<TextControl>(window, spec);
    case Kind::ListBox: return std::make_unique<ListControl>(window, spec);
    case Kind::VScrollBar: return std::make_unique<ScrollControl>(window, spec);
    case Kind::DriveList:
    case Kind::DirList:
    case Kind::FileList: return MakeBrowserControl(window, spec);
    case Kind::Image: return MakeImageControl(window, spec);
  }
  return nullptr;
}

}  // namespace ui::win32
