// The simple native controls: labels, buttons, frames, check and option boxes, text boxes,
// list boxes and the scroll bar. The file browser's lists and the logo have files of their own.
#include "ui/win32/win32_controls.h"

#include <algorithm>

#include "platform/codepage.h"
#include "ui/controls.h"
#include "ui/win32/win32_window.h"

namespace ui::win32 {

std::string Ansi(std::string_view utf8) { return platform::Utf8ToAnsi(utf8); }

std::string WindowTextUtf8(HWND hwnd) {
  if (!hwnd) return {};
  int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
  buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return platform::AnsiToUtf8(buffer);
}

void SetWindowTextUtf8(HWND hwnd, std::string_view utf8) {
  if (hwnd) SetWindowTextA(hwnd, Ansi(utf8).c_str());
}

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
class CaptionedControl : public NativeControl, public CaptionBase {
 public:
  using NativeControl::NativeControl;
  void created() override { setCaption(spec_.caption); }

 protected:
  void showCaption(const std::string& text) override { SetWindowTextUtf8(hwnd_, text); }
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

class CheckBoxControl : public CaptionedControl, public CheckBoxBase {
 public:
  using CaptionedControl::CaptionedControl;
  NativeClass nativeClass() const override { return {"BUTTON", BS_AUTOCHECKBOX}; }
  void command(WORD code) override {
    if (code == BN_CLICKED) raise(Event::Click);
  }

 protected:
  int nativeValue() const override { return send(BM_GETCHECK) == BST_CHECKED ? 1 : 0; }
  void showValue(int value) override { send(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED); }
};

class OptionControl : public CaptionedControl, public OptionButtonBase {
 public:
  OptionControl(Win32Window& window, const ControlSpec& spec)
      : CaptionedControl(window, spec), OptionButtonBase(window, spec) {}
  NativeClass nativeClass() const override { return {"BUTTON", BS_AUTORADIOBUTTON}; }
  void command(WORD code) override {
    if (code != BN_CLICKED) return;
    // The dialog manager's own grouping follows the creation order, which is the tab order;
    // the container decides here, so a group split by another control still holds.
    userSelected();
    raise(Event::Click);
  }

 protected:
  bool nativeValue() const override { return send(BM_GETCHECK) == BST_CHECKED; }
  void showValue(bool selected) override {
    send(BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED);
  }
};

class TextControl : public NativeControl, public TextBoxBase {
 public:
  TextControl(Win32Window& window, const ControlSpec& spec)
      : NativeControl(window, spec), TextBoxBase(spec) {}
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

  Range selection() const override {
    DWORD start = 0;
    DWORD end = 0;
    send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  void replaceRange(Range range, std::string_view text) override {
    const std::string ansi = Ansi(text);
    send(EM_SETSEL, range.start, static_cast<LPARAM>(range.end));
    send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(ansi.c_str()));
  }
  // The control's rows are its wrapped lines: a row whose predecessor ends in a line break (the
  // row's text stops short of the next row) starts a line; one that the width wrapped
  // continues the line before.
  std::size_t lineStart(std::size_t pos) const override {
    LRESULT row = send(EM_LINEFROMCHAR, pos);
    LRESULT rowStart = send(EM_LINEINDEX, static_cast<WPARAM>(row));
    while (row > 0) {
      const LRESULT before = send(EM_LINEINDEX, static_cast<WPARAM>(row - 1));
      if (before + send(EM_LINELENGTH, static_cast<WPARAM>(before)) < rowStart) break;
      --row;
      rowStart = before;
    }
    return rowStart < 0 ? 0 : static_cast<std::size_t>(rowStart);
  }
  std::size_t length() const override { return static_cast<std::size_t>(send(WM_GETTEXTLENGTH)); }
  // The control keeps the caret and the selection where they were in the text it keeps.
  void dropFront(std::size_t count) override {
    const Range kept = selection();
    send(EM_SETSEL, 0, static_cast<LPARAM>(count));
    send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    send(EM_SETSEL, kept.start > count ? kept.start - count : 0,
         static_cast<LPARAM>(kept.end > count ? kept.end - count : 0));
  }
  void scrollToCaret() override { send(EM_SCROLLCARET); }
};

class ListControl : public NativeControl, public ListBoxBase {
 public:
  using NativeControl::NativeControl;
  NativeClass nativeClass() const override {
    return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  int listCount() const override { return static_cast<int>(send(LB_GETCOUNT)); }
  int listIndex() const override {
    LRESULT index = send(LB_GETCURSEL);
    return index == LB_ERR ? -1 : static_cast<int>(index);
  }
  void command(WORD code) override {
    if (code == LBN_SELCHANGE) raise(Event::Click);
    if (code == LBN_DBLCLK) raise(Event::DblClick);
  }

 protected:
  void nativeAdd(std::string_view text) override {
    const std::string ansi = Ansi(text);
    send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
  }
  void nativeRemove(int index) override { send(LB_DELETESTRING, static_cast<WPARAM>(index)); }
  void nativeClear() override { send(LB_RESETCONTENT); }
  void nativeSelect(int index) override { send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
  std::string nativeItem(int index) const override {
    return ListText(*this, LB_GETTEXTLEN, LB_GETTEXT, index);
  }
};

// Value 0 at the top; the down arrow raises it. Every step is 1, the page keys included.
class ScrollControl : public NativeControl, public ScrollBarBase {
 public:
  ScrollControl(Win32Window& window, const ControlSpec& spec)
      : NativeControl(window, spec), ScrollBarBase(window, spec) {}
  NativeClass nativeClass() const override { return {"SCROLLBAR", SBS_VERT}; }
  void created() override {
    SetScrollRange(hwnd_, SB_CTL, spec_.minimum, spec_.maximum, FALSE);
    SetScrollPos(hwnd_, SB_CTL, value(), TRUE);
  }
  void scroll(WORD code) override {
    switch (code) {
      case SB_LINEUP:
      case SB_PAGEUP: setValue(value() - 1); break;
      case SB_LINEDOWN:
      case SB_PAGEDOWN: setValue(value() + 1); break;
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

 protected:
  void showValue(int value) override { SetScrollPos(hwnd_, SB_CTL, value, TRUE); }
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
