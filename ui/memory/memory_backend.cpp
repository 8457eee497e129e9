#include "ui/memory/memory_backend.h"

#include <algorithm>

#include "ui/file_browser.h"
#include "ui/item_list.h"
#include "ui/output_filter.h"

namespace ui {

namespace {

class MemoryCaptioned : public MemoryControl, public Captioned {
 public:
  MemoryCaptioned(MemoryWindow& w, const ControlSpec& s) : MemoryControl(w, s), caption_(s.caption) {}
  std::string caption() const override { return caption_; }
  void setCaption(std::string_view text) override { caption_ = text; }

 private:
  std::string caption_;
};

class MemoryCheck : public MemoryCaptioned, public CheckBox {
 public:
  using MemoryCaptioned::MemoryCaptioned;
  int value() const override { return value_; }
  void setValue(int value) override { value_ = value; }

 private:
  int value_ = 0;
};

class MemoryOption : public MemoryCaptioned, public OptionButton {
 public:
  using MemoryCaptioned::MemoryCaptioned;
  bool value() const override { return value_; }
  void setValue(bool selected) override {
    if (selected) window_.selectOption(*this);
    value_ = selected;
  }
  void clear() { value_ = false; }

 private:
  bool value_ = false;
};

class MemoryScroll : public MemoryControl, public ScrollBar {
 public:
  MemoryScroll(MemoryWindow& w, const ControlSpec& s) : MemoryControl(w, s), value_(s.minimum) {}
  int value() const override { return value_; }
  void setValue(int value) override {
    value = std::clamp(value, spec_.minimum, spec_.maximum);
    if (value == value_) return;
    value_ = value;
    window_.raiseChange(spec_.name);
  }

 private:
  int value_;
};

class MemoryList : public MemoryControl, public ItemList {
 public:
  using MemoryControl::MemoryControl;
};

// The file browser's lists keep what they show in the shared part; the in-memory list has
// nothing to draw and keeps only the file list's selection.
class MemoryDrive : public MemoryControl, public BrowserDrives {
 public:
  MemoryDrive(MemoryWindow& w, const ControlSpec& s) : MemoryControl(w, s) { beginBrowsing(); }

 protected:
  void showDrives(const std::vector<std::string>&, int) override {}
  void changed() override { window_.raiseChange(spec_.name); }
};

class MemoryDir : public MemoryControl, public BrowserDirs {
 public:
  MemoryDir(MemoryWindow& w, const ControlSpec& s) : MemoryControl(w, s) { beginBrowsing(); }

 protected:
  void showDirectories(const std::vector<platform::DirEntry>&) override {}
  void changed() override { window_.raiseChange(spec_.name); }
};

class MemoryFile : public MemoryControl, public BrowserFiles {
 public:
  MemoryFile(MemoryWindow& w, const ControlSpec& s) : MemoryControl(w, s) { beginBrowsing(); }

 protected:
  void showFiles(const std::vector<std::string>&) override { index_ = -1; }
  void selectLine(int index) override { index_ = index; }
  int selectedLine() const override { return index_; }

 private:
  int index_ = -1;
};

}  // namespace

// --- MemoryText ---

void MemoryText::replaceSelection(std::string_view text) {
  MemoryTextBox::replaceSelection(text);
  if (spec().kind == Kind::MultiLineText) trimOldest();
}

void MemoryText::trimOldest() {
  std::string& text = mutableText();
  size_t cut = OutputTrimCount(text.size(), [&text](size_t pos) { return LineStart(text, pos); });
  // A cut within a line keeps the whole character that it would split.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  if (cut == 0) return;
  dropFront(cut);
}

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
  for (const ControlSpec& c : spec.controls) {
    std::unique_ptr<MemoryControl> control;
    switch (c.kind) {
      case Kind::TextBox:
      case Kind::MultiLineText: control = std::make_unique<MemoryText>(*this, c); break;
      case Kind::CheckBox: control = std::make_unique<MemoryCheck>(*this, c); break;
      case Kind::OptionButton: control = std::make_unique<MemoryOption>(*this, c); break;
      case Kind::VScrollBar: control = std::make_unique<MemoryScroll>(*this, c); break;
      case Kind::ListBox: control = std::make_unique<MemoryList>(*this, c); break;
      case Kind::DriveList: control = std::make_unique<MemoryDrive>(*this, c); break;
      case Kind::DirList: control = std::make_unique<MemoryDir>(*this, c); break;
      case Kind::FileList: control = std::make_unique<MemoryFile>(*this, c); break;
      default: control = std::make_unique<MemoryCaptioned>(*this, c); break;
    }
    controls_.emplace(std::string(c.name), std::move(control));
  }
  backend_.windows_.push_back(this);
}

MemoryWindow::~MemoryWindow() {
  auto& all = backend_.windows_;
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

Control& MemoryWindow::nativeControl(std::string_view name) { return memoryControl(name); }

MemoryControl& MemoryWindow::memoryControl(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) badControl(name);
  return *it->second;
}

void MemoryWindow::selectOption(const MemoryControl& selected) {
  for (const ControlSpec* other : OtherOptions(spec(), selected.spec()))
    static_cast<MemoryOption&>(memoryControl(other->name)).clear();
}

bool MemoryWindow::accepts(std::string_view name) {
  return loaded() && visible_ && enabled_ && memoryControl(name).enabled();
}

bool MemoryWindow::userClick(std::string_view name) {
  if (!accepts(name)) return false;
  MemoryControl& c = memoryControl(name);
  if (c.spec().kind == Kind::CheckBox) {
    auto& box = dynamic_cast<CheckBox&>(c);
    box.setValue(box.value() ? 0 : 1);
  } else if (c.spec().kind == Kind::OptionButton) {
    dynamic_cast<OptionButton&>(c).setValue(true);
  }
  raise(name, Event::Click);
  return true;
}

bool MemoryWindow::userSelect(std::string_view name, int index) {
  if (!accepts(name)) return false;
  MemoryControl& c = memoryControl(name);
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
  dynamic_cast<DirList&>(memoryControl(name)).setPath(path);
  return true;
}

bool MemoryWindow::userPickDrive(std::string_view name, std::string_view drive) {
  if (!accepts(name)) return false;
  dynamic_cast<DriveList&>(memoryControl(name)).setDrive(drive);
  return true;
}

bool MemoryWindow::userScroll(std::string_view name, int delta) {
  if (!accepts(name)) return false;
  auto& bar = dynamic_cast<ScrollBar&>(memoryControl(name));
  bar.setValue(bar.value() + delta);
  return true;
}

bool MemoryWindow::userType(std::string_view name, std::string_view text) {
  if (!accepts(name)) return false;
  dynamic_cast<MemoryText&>(memoryControl(name)).replaceSelection(text);
  return true;
}

bool MemoryWindow::userClose() {
  if (!loaded() || !visible_ || !enabled_) return false;
  return requestClose();
}

}  // namespace ui
