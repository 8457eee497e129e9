// The native Win32 window layer, driven through its messages as the user and the dialog
// manager would drive it. Runs under Wine in CI (with a display from xvfb-run).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/form1_layout.h"
#include "sram/form2.h"
#include "control_cases.h"
#include "support/test_support.h"
#include "terminal_cases.h"
#include "ui/logo.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_window.h"

namespace {

using ui::Align;
using ui::ControlSpec;
using ui::Kind;

// 9135 x 4500 twips; "Hidden" lies below the client area, as the main window's storage does.
constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, "Slot", "", {120, 120, 1500, 300}, ui::kFont135Bold, -1, 0x000080,
     /*border=*/true, Align::Centre},
    {"Link", Kind::LinkLabel, "www", "", {120, 450, 1500, 300}, ui::kFont6BoldUnderlined, -1,
     0x0000C0},
    {"Cmd", Kind::Button, "Go", "", {1800, 120, 1000, 400}, ui::kFont135, 3},
    {"Frame1", Kind::Frame, "Box", "", {3000, 1500, 3000, 2400}},
    {"Check1", Kind::CheckBox, "Fix", "", {120, 900, 1500, 255}, ui::kFont6Bold, 4},
    {"OptA", Kind::OptionButton, "A", "", {120, 1200, 1000, 255}, ui::kDefaultFont, 5},
    {"OptB", Kind::OptionButton, "B", "", {1200, 1200, 1000, 255}, ui::kDefaultFont, 6},
    {"OptC", Kind::OptionButton, "C", "Frame1", {120, 240, 1000, 255}, ui::kDefaultFont, 7},
    {"OptD", Kind::OptionButton, "D", "Frame1", {120, 600, 1000, 255}, ui::kDefaultFont, 8},
    {"Text1", Kind::TextBox, "378", "", {120, 1600, 1500, 270}, ui::kDefaultFont, 1},
    {"Out", Kind::MultiLineText, "", "Frame1", {120, 900, 2700, 900}, ui::kFont6Bold, 2},
    {"List1", Kind::ListBox, "", "", {120, 2000, 1500, 1000}, ui::kDefaultFont, 9},
    {"Bar", Kind::VScrollBar, "", "Frame1", {2400, 240, 255, 255}, ui::kDefaultFont, 10,
     ui::kSystemColour, false, Align::Left, 0, 3},
    {"Logo", Kind::Image, "", "", {6240, 120, 2895, 1530}},
    {"Hidden", Kind::TextBox, "", "", {120, 5000, 1000, 270}, ui::kDefaultFont, 11},
    {"Drive1", Kind::DriveList, "", "", {6240, 1800, 2655, 240}, ui::kFont6Bold, 12},
};
const ui::WindowSpec kSpec{.name = "Test", .caption = "Test window \xC3\x9F", .clientWidth = 9135,
                           .clientHeight = 4500, .centred = true, .hasIcon = true,
                           .controls = kControls};
const ui::WindowSpec kSizableSpec{.name = "Sizable", .caption = "Sizable", .clientWidth = 6255,
                                  .clientHeight = 3435, .sizable = true,
                                  .controls = kControls};

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

struct Win32Window : ::testing::Test {
  Win32Window() {
    window = backend.createWindow(kSpec);
    native = dynamic_cast<ui::win32::Win32Window*>(window.get());
  }
  HWND handle(const char* name) const { return native->nativeHandle(name); }
  DWORD style(const char* name) const {
    return static_cast<DWORD>(GetWindowLongPtrA(handle(name), GWL_STYLE));
  }
  RECT rectInWindow(const char* name) const {
    RECT r;
    GetWindowRect(handle(name), &r);
    MapWindowPoints(nullptr, native->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void command(const char* name, WORD code) {
    HWND child = handle(name);
    SendMessageA(native->hwnd(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(child), code), reinterpret_cast<LPARAM>(child));
  }
  std::vector<std::string> events;
  void record(const char* name, ui::Event event, const char* what) {
    window->on(name, event, [this, what] { events.push_back(what); });
  }

  ui::win32::Win32Backend backend;
  std::unique_ptr<ui::Window> window;
  ui::win32::Win32Window* native = nullptr;
};

// --- controls from the table ---

TEST_F(Win32Window, EveryControlIsTheNativeKindWithItsStyles) {
  struct Row {
    const char* name;
    const char* className;
    DWORD required;
    DWORD absent;
  };
  const Row rows[] = {
      {"Label1", "Static", WS_BORDER | SS_CENTER | SS_NOTIFY | SS_NOPREFIX, WS_TABSTOP},
      {"Link", "Static", SS_NOTIFY, WS_BORDER | SS_CENTER | WS_TABSTOP},
      {"Cmd", "Button", WS_TABSTOP | WS_GROUP, 0},
      {"Frame1", "Button", BS_GROUPBOX, WS_TABSTOP},
      {"Check1", "Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
      {"OptA", "Button", BS_AUTORADIOBUTTON | WS_GROUP, 0},
      {"OptB", "Button", BS_AUTORADIOBUTTON, WS_GROUP},
      {"OptC", "Button", BS_AUTORADIOBUTTON | WS_GROUP, 0},
      {"Text1", "Edit", WS_TABSTOP | ES_AUTOHSCROLL, ES_MULTILINE},
      {"Out", "Edit", ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP, 0},
      {"List1", "ListBox", LBS_NOTIFY | WS_TABSTOP, LBS_SORT},
      {"Bar", "ScrollBar", SBS_VERT | WS_TABSTOP, 0},
      {"Logo", "Static", SS_OWNERDRAW, WS_TABSTOP},
      {"Hidden", "Edit", 0, WS_TABSTOP},  // exists, but the keyboard never reaches it
      {"Drive1", "ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_NE(handle(row.name), nullptr);
    EXPECT_EQ(GetParent(handle(row.name)), native->hwnd()) << "children of frames included";
    EXPECT_STRCASEEQ(ClassOf(handle(row.name)).c_str(), row.className);
    const DWORD s = style(row.name);
    // Kind bits of buttons and statics are a number, not flags: compare them whole.
    if (std::string(row.className) == "Button") {
      EXPECT_EQ(s & BS_TYPEMASK, row.required & BS_TYPEMASK);
    }
    if (row.name == std::string("Logo")) {
      EXPECT_EQ(s & SS_TYPEMASK, DWORD{SS_OWNERDRAW});
    }
    const DWORD flags = row.required & ~(BS_TYPEMASK | SS_TYPEMASK);
    EXPECT_EQ(s & flags, flags);
    EXPECT_EQ(s & row.absent & ~(BS_TYPEMASK | SS_TYPEMASK), 0u);
  }
}

TEST_F(Win32Window, CaptionsAndInitialTextComeFromTheTable) {
  EXPECT_EQ(window->get<ui::Captioned>("Cmd").caption(), "Go");
  EXPECT_EQ(window->get<ui::TextBox>("Text1").text(), "378");
  EXPECT_EQ(window->get<ui::ScrollBar>("Bar").value(), 0);
  EXPECT_EQ(window->get<ui::CheckBox>("Check1").value(), 0);
  window->get<ui::Captioned>("Label1").setCaption("4");
  EXPECT_EQ(window->get<ui::Captioned>("Label1").caption(), "4");
}

TEST_F(Win32Window, FrameChildrenAreOffsetByTheFrameAndSizesAreInPixels) {
  const RECT frame = rectInWindow("Frame1");
  const RECT option = rectInWindow("OptC");
  EXPECT_EQ(frame.left, 3000 / 15);
  EXPECT_EQ(frame.top, 1500 / 15);
  EXPECT_EQ(option.left, (3000 + 120) / 15);
  EXPECT_EQ(option.top, (1500 + 240) / 15);
  EXPECT_EQ(option.right - option.left, 1000 / 15);
  RECT client;
  GetClientRect(native->hwnd(), &client);
  EXPECT_EQ(client.right, 9135 / 15);
  EXPECT_EQ(client.bottom, 4500 / 15);
}

TEST_F(Win32Window, TabOrderFollowsTheTabIndex) {
  std::vector<std::string> order;
  HWND first = GetNextDlgTabItem(native->hwnd(), nullptr, FALSE);
  for (HWND h = first; h && order.size() < 20;) {
    for (const ControlSpec& c : kControls)
      if (native->nativeHandle(c.name) == h) order.emplace_back(c.name);
    h = GetNextDlgTabItem(native->hwnd(), h, FALSE);
    if (h == first) break;
  }
  // Option buttons are one stop per group; the off-screen box is never reached.
  ASSERT_GE(order.size(), 3u);
  EXPECT_EQ(order[0], "Text1");
  EXPECT_EQ(order[1], "Out");
  EXPECT_EQ(order[2], "Cmd");
  EXPECT_EQ(std::count(order.begin(), order.end(), "Hidden"), 0);
}

TEST_F(Win32Window, FixedAndSizableBorders) {
  const DWORD fixed = static_cast<DWORD>(GetWindowLongPtrA(native->hwnd(), GWL_STYLE));
  EXPECT_EQ(fixed & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  EXPECT_EQ(fixed & (WS_CAPTION | WS_SYSMENU), DWORD{WS_CAPTION | WS_SYSMENU});
  auto other = backend.createWindow(kSizableSpec);
  HWND sizable = dynamic_cast<ui::win32::Win32Window&>(*other).hwnd();
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(sizable, GWL_STYLE));
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, DWORD{WS_OVERLAPPEDWINDOW});
  // Resizing moves no control.
  HWND list = dynamic_cast<ui::win32::Win32Window&>(*other).nativeHandle("List1");
  RECT before;
  GetWindowRect(list, &before);
  SetWindowPos(sizable, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  RECT after;
  GetWindowRect(list, &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

// A dialog of a disabled main window: no taskbar button of its own, kept above its owner.
TEST_F(Win32Window, AnOwnedWindowHasTheOwnerAndNoTaskbarStyle) {
  auto dialog = backend.createWindow(kSizableSpec);
  HWND hwnd = dynamic_cast<ui::win32::Win32Window&>(*dialog).hwnd();
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
  dialog->setOwner(*window);
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), native->hwnd());
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  dialog->show();
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(Win32Window, WindowIsCreatedHiddenWithItsIconAndAnsiCaption) {
  EXPECT_FALSE(IsWindowVisible(native->hwnd()));
  EXPECT_NE(SendMessageA(native->hwnd(), WM_GETICON, ICON_BIG, 0), 0);
  char caption[64] = {};
  GetWindowTextA(native->hwnd(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption), "Test window \xDF");  // U+00DF in the ANSI code page
}

// The program file's icon (written by scripts/make-icon) is the window icon's picture.
TEST(Win32Icon, TheIconFileHoldsTheWindowIconsPixels) {
  const std::string file = testing_support::BuildToolsDir() + "\\telvo-flash.ico";
  auto icon = static_cast<HICON>(LoadImageA(nullptr, file.c_str(), IMAGE_ICON, 32, 32,
                                            LR_LOADFROMFILE));
  ASSERT_NE(icon, nullptr) << file;
  ICONINFO parts{};
  ASSERT_TRUE(GetIconInfo(icon, &parts));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 32;
  info.bmiHeader.biHeight = -32;  // top-down, as ui::RgbImage
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(32 * 32);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, parts.hbmColor, 0, 32, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(parts.hbmColor);
  DeleteObject(parts.hbmMask);
  DestroyIcon(icon);
  ASSERT_EQ(rows, 32);
  const ui::RgbImage expected = ui::MakeIcon();
  int differing = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if ((pixels[static_cast<size_t>(y * 32 + x)] & 0xFFFFFF) != expected.at(x, y)) ++differing;
  EXPECT_EQ(differing, 0);
}

TEST(Win32Fonts, TerminalHeightsForThePointSizesInUse) {
  struct Row {
    double points;
    int dpi;
    int height;
  };
  const Row rows[] = {{9, 96, -12},  {6, 96, -8},   {13.5, 96, -18}, {9, 144, -18},
                      {6, 144, -12}, {13.5, 144, -27}, {13.5, 192, -36}};
  for (const Row& row : rows)
    EXPECT_EQ(ui::win32::FontHeightForPoints(row.points, row.dpi), row.height)
        << row.points << " pt at " << row.dpi;
}

// The program's own two windows: every control is there, the keyboard reaches exactly the
// controls it should, starting at the lowest tab position, and the client area is as laid out.
TEST(Win32ProgramWindows, BuildWithEveryControlAndTheirTabStops) {
  struct Row {
    const ui::WindowSpec& spec;
    const char* firstStop;
    int width, height;  // client area in pixels
  };
  const Row rows[] = {
      {app::Form1Spec(), "Dir1", 609, 665},
      {sram::Form2Spec(), "Drive1", 417, 229},
  };
  ui::win32::Win32Backend backend;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.spec.name));
    auto window = backend.createWindow(row.spec);
    auto& native = dynamic_cast<ui::win32::Win32Window&>(*window);
    for (const ControlSpec& c : row.spec.controls) {
      SCOPED_TRACE(std::string(c.name));
      HWND h = native.nativeHandle(c.name);
      ASSERT_NE(h, nullptr);
      const bool stop = (GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP) != 0;
      EXPECT_EQ(stop, ui::TakesTabStop(row.spec, c));
      if (c.bounds.top >= row.spec.clientHeight) {
        EXPECT_FALSE(stop) << "off-screen";
      }
    }
    EXPECT_EQ(GetNextDlgTabItem(native.hwnd(), nullptr, FALSE), native.nativeHandle(row.firstStop));
    RECT client;
    GetClientRect(native.hwnd(), &client);
    EXPECT_EQ(client.right, row.width);
    EXPECT_EQ(client.bottom, row.height);
  }
}

// --- text boxes ---

TEST_F(Win32Window, TheOutputBoxHoldsMoreThanTheDefaultLimit) {
  auto& out = window->get<ui::TextBox>("Out");
  const std::string chunk(10240, 'x');
  for (int i = 0; i < 8; ++i) out.replaceSelection(chunk);  // default limit: 32767
  EXPECT_EQ(out.text().size(), chunk.size() * 8);
}

TEST_F(Win32Window, ToolOutputShowsAsInATerminal) {
  HWND out = handle("Out");
  auto selection = [out] {
    DWORD start = 0, end = 0;
    SendMessageA(out, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::pair<DWORD, DWORD>(start, end);
  };
  terminal_cases::RunAll(
      window->get<ui::TextBox>("Out"),
      [out](std::size_t from, std::size_t to) { SendMessageA(out, EM_SETSEL, from, to); },
      [&] {
        const auto [start, end] = selection();
        EXPECT_EQ(start, end) << "nothing left selected";
        return static_cast<std::size_t>(end);
      });
}

TEST_F(Win32Window, ClearingTheLineFindsItsStartAcrossWrappedRows) {
  auto& out = window->get<ui::TextBox>("Out");
  HWND edit = handle("Out");
  struct Row {
    std::string before;
    std::size_t caret;
    std::string after;
  };
  const std::string longLine = "word " + std::string(300, 'x') + " more words to wrap";
  const Row rows[] = {
      {"first\r\n" + longLine, 7 + longLine.size(), "first\r\n"},
      {"first\r\n" + longLine + "\r\nlast", 7 + longLine.size(), "first\r\n\r\nlast"},
      {longLine, 20, longLine.substr(20)},
      {"a b c d e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m n o p",
       80, "o p"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.before.substr(0, 20));
    out.setText(row.before);
    SendMessageA(edit, EM_SETSEL, row.caret, row.caret);
    out.clearLineToCaret();
    EXPECT_EQ(out.text(), row.after);
  }
  out.setText(longLine);
  EXPECT_GT(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 1) << "a long line wraps";
}

TEST_F(Win32Window, LongLinesWrapAndTheViewFollowsTheNewestOutput) {
  EXPECT_EQ(style("Out") & (ES_AUTOHSCROLL | WS_HSCROLL), 0u) << "wraps at the box's width";
  EXPECT_NE(style("Out") & WS_VSCROLL, 0u);
  window->show();
  auto& out = window->get<ui::TextBox>("Out");
  for (int i = 0; i < 200; ++i) out.replaceSelection("line " + std::to_string(i) + "\r\n");
  out.replaceSelection("newest");
  HWND edit = handle("Out");
  const LRESULT first = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
  const LRESULT last = SendMessageA(edit, EM_GETLINECOUNT, 0, 0) - 1;
  RECT client;
  GetClientRect(edit, &client);
  EXPECT_GT(first, 0) << "scrolled down";
  const LRESULT bottom = SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(1, client.bottom - 2));
  EXPECT_GE(HIWORD(bottom), static_cast<WORD>(last)) << "the newest line is in view";
}

// Wine's edit control takes minutes to take the 17 MiB the shipped limit needs; a box of this
// table keeps the newest output past a limit of its own, by the same rule.
TEST(Win32OutputBox, KeepsTheNewestOutputPastItsLimit) {
  constexpr int kLimit = 64 << 10;
  constexpr ControlSpec kBox[] = {{"Out", Kind::MultiLineText, "", "", {120, 120, 2700, 900},
                                   ui::kFont6Bold, 0, ui::kSystemColour, false, Align::Left, 0,
                                   kLimit}};
  const ui::WindowSpec spec{.name = "Box", .caption = "Box", .clientWidth = 3000,
                            .clientHeight = 1200, .controls = kBox};
  ui::win32::Win32Backend backend;
  auto window = backend.createWindow(spec);
  HWND edit = dynamic_cast<ui::win32::Win32Window&>(*window).nativeHandle("Out");
  for (std::size_t lineLength : {80, 0}) {
    terminal_cases::CheckCap(
        window->get<ui::TextBox>("Out"), lineLength,
        [edit] {
          DWORD start = 0, end = 0;
          SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
          return static_cast<std::size_t>(end);
        },
        kLimit);
  }
}

TEST_F(Win32Window, OnlyAMouseClickInATextBoxIsAClick) {
  record("Text1", ui::Event::Click, "click");
  window->show();
  SetFocus(handle("Text1"));
  EXPECT_TRUE(events.empty());
  SendMessageA(handle("Text1"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(handle("Text1"), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(events, std::vector<std::string>{"click"});
}

// --- events ---

TEST_F(Win32Window, NotificationsBecomeEvents) {
  record("Cmd", ui::Event::Click, "Cmd");
  record("Link", ui::Event::Click, "Link");
  record("Check1", ui::Event::Click, "Check1");
  record("List1", ui::Event::DblClick, "List1 dbl");
  SendMessageA(handle("Cmd"), BM_CLICK, 0, 0);
  SendMessageA(handle("Link"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(handle("Check1"), BM_CLICK, 0, 0);
  command("List1", LBN_DBLCLK);
  EXPECT_EQ(events, (std::vector<std::string>{"Cmd", "Link", "Check1", "List1 dbl"}));
  EXPECT_EQ(window->get<ui::CheckBox>("Check1").value(), 1);
}

TEST_F(Win32Window, EscapeAndEnterNeitherCloseNorAccept) {
  int unloads = 0;
  window->onUnload([&](bool&) { ++unloads; });
  record("Cmd", ui::Event::Click, "Cmd");
  window->show();
  // Once focused, a push button looks like the default one; Enter elsewhere still is no click.
  SetFocus(handle("Cmd"));
  for (const char* box : {"Text1", "Out", "List1"}) {
    SetFocus(handle(box));
    ASSERT_EQ(GetFocus(), handle(box)) << box;
    for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
      PostMessageA(handle(box), WM_KEYDOWN, key, 0);
      PostMessageA(handle(box), WM_CHAR, key, 0);
      backend.processPendingEvents();
    }
  }
  SendMessageA(native->hwnd(), WM_COMMAND, IDCANCEL, 0);
  SendMessageA(native->hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(window->loaded());
  EXPECT_TRUE(IsWindow(native->hwnd()));
  EXPECT_EQ(unloads, 0);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(window->get<ui::TextBox>("Text1").text(), "378");
}

TEST_F(Win32Window, CloseButtonRunsTheUnloadHandlerWhichMayCancel) {
  bool cancel = true;
  window->onUnload([&](bool& c) { c = cancel; });
  window->show();
  SendMessageA(native->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window->loaded());
  cancel = false;
  SendMessageA(native->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window->loaded());
  EXPECT_EQ(native->hwnd(), nullptr);
  EXPECT_EQ(backend.windowCount(), 0);
}

TEST_F(Win32Window, TheEndOfTheSessionUnloadsTheWindowSoItCanSave) {
  int unloads = 0;
  window->onUnload([&](bool&) { ++unloads; });
  SendMessageA(native->hwnd(), WM_ENDSESSION, FALSE, 0);  // cancelled: nothing happens
  EXPECT_EQ(unloads, 0);
  SendMessageA(native->hwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(window->loaded());
}

TEST_F(Win32Window, DisablingTheWindowDisablesItsInput) {
  window->setEnabled(false);
  EXPECT_FALSE(window->enabled());
  EXPECT_FALSE(IsWindowEnabled(native->hwnd()));
  window->setEnabled(true);
  EXPECT_TRUE(window->enabled());
  window->control("List1").setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(handle("List1")));
}

// --- the controls' tables ---

struct Win32Controls : ::testing::Test {
  HWND handle(const char* name) const { return native->nativeHandle(name); }
  // The selection as the edit control reports it; the caret is its end.
  std::pair<DWORD, DWORD> selection(const char* name) const {
    DWORD start = 0, end = 0;
    SendMessageA(handle(name), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  ui::win32::Win32Backend backend;
  std::unique_ptr<ui::Window> window = backend.createWindow(control_cases::kSpec);
  ui::win32::Win32Window* native = dynamic_cast<ui::win32::Win32Window*>(window.get());
};

TEST_F(Win32Controls, OptionButtonsFormOneGroupPerContainer) {
  control_cases::RunOptionCases(
      *window, [&](const char* name) { SendMessageA(handle(name), BM_CLICK, 0, 0); });
}

TEST_F(Win32Controls, ScrollBarStepsAndStopsAtItsEnds) {
  control_cases::RunScrollCases(
      *window,
      [&](control_cases::Move move) {
        using control_cases::Move;
        const WORD code = move == Move::Up         ? SB_LINEUP
                          : move == Move::Down     ? SB_LINEDOWN
                          : move == Move::PageUp   ? SB_PAGEUP
                          : move == Move::PageDown ? SB_PAGEDOWN
                          : move == Move::Top      ? SB_TOP
                                                   : SB_BOTTOM;
        SendMessageA(native->hwnd(), WM_VSCROLL, MAKEWPARAM(code, 0),
                     reinterpret_cast<LPARAM>(handle("Bar")));
      },
      [&] { return GetScrollPos(handle("Bar"), SB_CTL); });
}

TEST_F(Win32Controls, CheckBoxIsClearOrSet) {
  control_cases::RunCheckCases(*window, [&] { SendMessageA(handle("Check"), BM_CLICK, 0, 0); });
}

TEST_F(Win32Controls, ListBoxKeepsItsOrderAndSelection) {
  control_cases::RunListCases(window->get<ui::ListBox>("List"));
}

TEST_F(Win32Controls, TextBoxesReplaceTheSelectionAndClearTheLine) {
  for (const char* name : {"Text", "Out"}) {
    SCOPED_TRACE(name);
    auto select = [&](std::size_t from, std::size_t to) {
      SendMessageA(handle(name), EM_SETSEL, from, static_cast<LPARAM>(to));
    };
    auto caret = [&] {
      const auto [start, end] = selection(name);
      EXPECT_EQ(start, end) << "nothing left selected";
      return static_cast<std::size_t>(end);
    };
    control_cases::RunReplaceCases(window->get<ui::TextBox>(name), select, caret);
    control_cases::RunClearLineCases(window->get<ui::TextBox>(name), select, caret);
  }
}

// --- the backend's loop ---

TEST_F(Win32Window, RunEndsWithTheLastWindowAfterThePostedFunctions) {
  window->onActivate([&] { events.push_back("activate"); });
  window->onUnload([&](bool&) { events.push_back("unload"); });
  window->show();
  backend.post([&] { events.push_back("posted"); });
  backend.post([&] { window->unload(); });
  backend.run();
  EXPECT_EQ(events, (std::vector<std::string>{"activate", "posted", "unload"}));
  EXPECT_EQ(backend.windowCount(), 0);
}

std::string g_boxText;
bool g_boxHasCancel = true;

void CALLBACK DismissErrorBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowA("#32770", "Error");
  if (!box) return;
  char text[128] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  g_boxText = text;
  g_boxHasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Win32Window, MessageBoxShowsItsTextWithOneButtonAndReturnsWhenDismissed) {
  window->show();
  UINT_PTR timer = SetTimer(nullptr, 0, 100, &DismissErrorBox);
  backend.messageBox("Enter a filename, please.", "Error");
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_boxText, "Enter a filename, please.");
  EXPECT_FALSE(g_boxHasCancel);
  EXPECT_TRUE(window->loaded());
}

UINT g_press = IDNO;
LRESULT g_defaultButton = 0;

void CALLBACK AnswerQuestion(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowA("#32770", "Stop the tool?");
  if (!box) return;
  // The default button is drawn as such and has the focus.
  for (int id : {IDYES, IDNO}) {
    const LONG style = GetWindowLongA(GetDlgItem(box, id), GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) g_defaultButton = id;
  }
  PostMessageA(box, WM_COMMAND, g_press, 0);
}

// "Yes" alone says yes; "No" is the default button, so Enter says no.
TEST_F(Win32Window, AskYesNoIsYesOnlyForTheYesButtonAndNoIsTheDefault) {
  window->show();
  for (const auto& [press, answer] : {std::pair{IDYES, true}, std::pair{IDNO, false}}) {
    g_press = static_cast<UINT>(press);
    g_defaultButton = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, &AnswerQuestion);
    EXPECT_EQ(backend.askYesNo("Stop the tool now?", "Stop the tool?"), answer);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_defaultButton, IDNO);
  }
}

DWORD WINAPI WriteOneByteLater(void* pipe) {
  Sleep(150);
  DWORD written = 0;
  WriteFile(static_cast<HANDLE>(pipe), "x", 1, &written, nullptr);
  return 0;
}

TEST(Win32Backend, WaitForPipeKeepsTheLoopGoingUntilDataOrTheEnd) {
  ui::win32::Win32Backend backend;
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  int posted = 0;
  backend.post([&] { ++posted; });
  // A thread of the system's own: the shipped compiler's C++ library has no std::thread.
  HANDLE writer = CreateThread(nullptr, 0, &WriteOneByteLater, writeEnd, 0, nullptr);
  ASSERT_NE(writer, nullptr);
  // Each wait runs one round of events at most; the caller waits again until data is there.
  DWORD available = 0;
  while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available == 0)
    backend.waitForOutput(readEnd);
  WaitForSingleObject(writer, INFINITE);
  CloseHandle(writer);
  EXPECT_EQ(posted, 1) << "posted functions run while the pipe is silent";
  ASSERT_TRUE(PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr));
  EXPECT_EQ(available, 1u);
  char byte;
  DWORD got = 0;
  ReadFile(readEnd, &byte, 1, &got, nullptr);
  CloseHandle(writeEnd);
  backend.waitForOutput(readEnd);  // broken: returns at once
  CloseHandle(readEnd);
}

}  // namespace
