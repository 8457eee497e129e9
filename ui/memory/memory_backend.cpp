#include "ui/memory/memory_backend.h"

#include <algorithm>

#include "ui/file_browser.h"

namespace ui {

namespace {

// The file browser's lists keep what they show in the shared part; the in-memory list has
// nothing to draw and keeps only the file list's selection.
class MemoryDrive : public ValueControl, public BrowserDrives {
 public:
  MemoryDrive(MemoryWindow& w, const ControlSpec& s) : window_(w), name_(s.name) { beginBrowsing(); }

 protected:
  void showDrives(const std::vector<std::string>&, int) override {}
  void changed() override { window_.raiseChange(name_); }

 private:
  MemoryWindow& window_;
  std::string_view name_;
};

class MemoryDir : public ValueControl, public BrowserDirs {
 public:
  MemoryDir(MemoryWindow& w, const ControlSpec& s) : window_(w), name_(s.name) { beginBrowsing(); }

 protected:
  void showDirectories(const std::vector<platform::DirEntry>&) override {}
  void changed() override { window_.raiseChange(name_); }

 private:
  MemoryWindow& window_;
  std::string_view name_;
};

class MemoryFile : public ValueControl, public BrowserFiles {
 public:
  MemoryFile() { beginBrowsing(); }

 protected:
  void showFiles(const std::vector<std::string>&) override { index_ = -1; }
  void selectLine(int index) override { index_ = index; }
  int selectedLine() const override { return index_; }

 private:
  int index_ = -1;
};

// A check box shows its caption too.
class MemoryCheck : public ValueCheckBox, public KeptCaption {
 public:
  using KeptCaption::KeptCaption;
};

std::unique_ptr<Control> MakeControl(MemoryWindow& window, const ControlSpec& c) {
  switch (c.kind) {
    case Kind::TextBox:
    case Kind::MultiLineText: return std::make_unique<MemoryTextBox>(c);
    case Kind::CheckBox: return std::make_unique<MemoryCheck>(c.caption);
    case Kind::OptionButton: return std::make_unique<ValueOptionButton>(window, c);
    case Kind::VScrollBar: return std::make_unique<ValueScrollBar>(window, c);
    case Kind::ListBox: return std::make_unique<ValueListBox>();
    case Kind::DriveList: return std::make_unique<MemoryDrive>(window, c);
    case Kind::DirList: return std::make_unique<MemoryDir>(window, c);
    case Kind::FileList: return std::make_unique<MemoryFile>();
    default: return std::make_unique<ValueCaption>(c.caption);
  }
}

}  // namespace

// --- MemoryBackend ---

MemoryBackend::MemoryBackend() : activation_([this](Handler fn) { post(std::move(fn)); }) {}
MemoryBackend::~MemoryBackend() = default;

std::unique_ptr<Window> MemoryBackend::createWindow(const WindowSpec& spec) {
  return std::make_unique<MemoryWindow>(spec, *this);
}

void MemoryBackend::messageBox(std::string_view text, std::string_view title) {
  messages_.push_back({std::string(text), std::string(title)});
  if (atMessageBox_) atMessageBox_();
}

bool MemoryBackend::askYesNo(std::string_view text, std::string_view title) {
  messages_.push_back({std::string(text), std::string(title), /*question=*/true});
  if (atMessageBox_) atMessageBox_();
  return answer_;
}

void MemoryBackend::post(Handler fn) { posted_.push_back(std::move(fn)); }

void MemoryBackend::runPosted() {
  // Only what is pending now; what these handlers post runs at the next turn.
  std::deque<Handler> now;
  now.swap(posted_);
  for (Handler& fn : now) fn();
}

void MemoryBackend::processPendingEvents() {
  runPosted();
  if (duringEvents_) duringEvents_();
}

void MemoryBackend::run() {
  while (!posted_.empty()) runPosted();
}

MemoryWindow* MemoryBackend::find(std::string_view name) const {
  for (MemoryWindow* w : windows_)
    if (w->loaded() && w->spec().name == name) return w;
  return nullptr;
}

// --- MemoryWindow ---

MemoryWindow::MemoryWindow(const WindowSpec& spec, MemoryBackend& backend)
    : WindowBase(spec, backend.activation()), backend_(backend) {
  for (const ControlSpec& c : spec.controls)
    controls_.emplace(std::string(c.name), MakeControl(*this, c));
  backend_.windows_.push_back(this);
}

MemoryWindow::~MemoryWindow() {
  auto& all = backend_.windows_;
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

Control& MemoryWindow::nativeControl(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) badControl(name);
  return *it->second;
}

Kind MemoryWindow::kindOf(std::string_view name) const {
  const ControlSpec* c = spec().find(name);
  if (!c) badControl(name);
  return c->kind;
}

bool MemoryWindow::accepts(std::string_view name) {
  return loaded() && visible_ && enabled_ && nativeControl(name).enabled();
}

bool MemoryWindow::userClick(std::string_view name) {
  if (!accepts(name)) return false;
  Control& c = nativeControl(name);
  if (kindOf(name) == Kind::CheckBox) {
    auto& box = dynamic_cast<CheckBox&>(c);
    box.setValue(box.value() ? 0 : 1);
  } else if (kindOf(name) == Kind::OptionButton) {
    dynamic_cast<ValueOptionButton&>(c).click();
  }
  raise(name, Event::Click);
  return true;
}

bool MemoryWindow::userSelect(std::string_view name, int index) {
  if (!accepts(name)) return false;
  Control& c = nativeControl(name);
  if (auto* files = dynamic_cast<FileList*>(&c)) {
    files->setListIndex(index);
    raise(name, Event::Click);
  } else {
    dynamic_cast<ListBox&>(c).setListIndex(index);
  }
  return true;
}

bool MemoryWindow::userDoubleClick(std::string_view name, int index) {
  if (!userSelect(name, index)) return false;
  raise(name, Event::DblClick);
  return true;
}

bool MemoryWindow::userOpenDirectory(std::string_view name, std::string_view path) {
  if (!accepts(name)) return false;
  dynamic_cast<DirList&>(nativeControl(name)).setPath(path);
  return true;
}

bool MemoryWindow::userPickDrive(std::string_view name, std::string_view drive) {
  if (!accepts(name)) return false;
  dynamic_cast<DriveList&>(nativeControl(name)).setDrive(drive);
  return true;
}

bool MemoryWindow::userScroll(std::string_view name, int delta) {
  if (!accepts(name)) return false;
  auto& bar = dynamic_cast<ScrollBar&>(nativeControl(name));
  bar.setValue(bar.value() + delta);
  return true;
}

bool MemoryWindow::userType(std::string_view name, std::string_view text) {
  if (!accepts(name)) return false;
  dynamic_cast<TextBox&>(nativeControl(name)).replaceSelection(text);
  return true;
}

bool MemoryWindow::userClose() {
  if (!loaded() || !visible_ || !enabled_) return false;
  return requestClose();
}

}  // namespace ui
