// The list box and the file browser's three lists: the native part of ui::ListBoxBase and of
// ui/file_browser.h.
#include "ui/fltk/fltk_controls.h"

namespace ui::fltk {

namespace {

bool IsEnter(int key) { return key == FL_Enter || key == FL_KP_Enter; }

}  // namespace

// --- SelectBrowser -------------------------------------------------------------------------

SelectBrowser::SelectBrowser(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : Native<Fl_Hold_Browser>(window, spec, at) {
  when(FL_WHEN_NEVER);
}

int SelectBrowser::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  bool doubleClick =
      event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE && Fl::event_clicks() > 0;
  int before = value();
  Fl_Widget_Tracker alive(this);
  int used = Fl_Hold_Browser::handle(event);
  if (alive.deleted()) return used;
  if (value() != before && value() > 0) {
    doubleClicked_ = false;
    do_callback();
    if (alive.deleted()) return used;
  }
  if (!doubleClick) return used;
  void* item = find_item(Fl::event_y());
  if (!item || lineno(item) != value()) return used;
  doubleClicked_ = true;
  do_callback();
  return used;
}

// --- FileListControl -----------------------------------------------------------------------

FileListControl::FileListControl(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : SelectBrowser(window, spec, at) {
  beginBrowsing();
}

void FileListControl::showFiles(const std::vector<std::string>& files) {
  Fl_Hold_Browser::clear();
  for (const std::string& name : files) AddListLine(*this, name);
}

// --- DirListControl ------------------------------------------------------------------------

DirListControl::DirListControl(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : Native<Fl_Hold_Browser>(window, spec, at) {
  when(FL_WHEN_NEVER);
  beginBrowsing();
}

int DirListControl::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  if (event == FL_KEYBOARD && IsEnter(Fl::event_key())) {
    if (value() <= 0) return 0;
    openedLine_ = value();
    do_callback();
    return 1;
  }
  bool doubleClick =
      event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE && Fl::event_clicks() > 0;
  Fl_Widget_Tracker alive(this);
  int used = Fl_Hold_Browser::handle(event);
  if (alive.deleted() || !doubleClick) return used;
  void* item = find_item(Fl::event_y());
  if (!item) return used;
  openedLine_ = lineno(item);
  do_callback();
  return used;
}

void DirListControl::showDirectories(const std::vector<platform::DirEntry>& entries) {
  Fl_Hold_Browser::clear();
  int opened = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const platform::DirEntry& e = entries[i];
    bool expanded = e.opened || (i + 1 < entries.size() && entries[i + 1].depth > e.depth);
    std::string line(static_cast<std::size_t>(e.depth) * 2, ' ');
    line += expanded ? "[-] " : "[+] ";
    line += e.label;
    AddListLine(*this, line);
    if (e.opened) opened = static_cast<int>(i) + 1;
  }
  if (opened > 0) SelectLine(*this, opened - 1);
}

// --- DriveChoice ---------------------------------------------------------------------------

DriveChoice::DriveChoice(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : Native<Fl_Choice>(window, spec, at) {
  when(FL_WHEN_CHANGED);
  beginBrowsing();
}

void DriveChoice::setDrives(const std::vector<std::string>& drives, int selected) {
  labels_.clear();
  items_.clear();
  for (const std::string& d : drives) labels_.push_back(MenuText(d));
  for (const std::string& label : labels_) {
    Fl_Menu_Item item{};
    item.text = label.c_str();
    items_.push_back(item);
  }
  items_.push_back(Fl_Menu_Item{});  // terminator
  menu(items_.data());
  Fl_Choice::value(selected >= 0 && selected < static_cast<int>(labels_.size()) ? selected : -1);
  redraw();
}

int DriveChoice::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  bool opening = event == FL_PUSH || (event == FL_KEYBOARD && Fl::event_key() == ' ');
  if (opening) refreshDrives();
  return Fl_Choice::handle(event);
}

}  // namespace ui::fltk
