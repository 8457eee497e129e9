#include "ui/fltk/fltk_controls.h"

#include <FL/Fl.H>
#include <algorithm>

#include "ui/file_browser.h"
#include "ui/fltk/fltk_fonts.h"
#include "ui/fltk/fltk_widgets.h"
#include "ui/output_filter.h"

namespace ui::fltk {

WidgetControl::WidgetControl(WindowBase& window, const ControlSpec& spec, Fl_Widget* widget)
    : window_(window), name_(spec.name), widget_(widget) {
  widget_->callback(
      [](Fl_Widget*, void* self) { static_cast<WidgetControl*>(self)->userActed(); }, this);
}

void WidgetControl::setEnabled(bool on) {
  if (on)
    widget_->activate();
  else
    widget_->deactivate();
}

// The handler may unload the window and so destroy this control: raise last, touch nothing
// after it.
void WidgetControl::raise(Event event) { window_.raise(name_, event); }

namespace {

Fl_Color ToFl(std::uint32_t rgb) {
  return fl_rgb_color(static_cast<uchar>(rgb >> 16), static_cast<uchar>(rgb >> 8),
                      static_cast<uchar>(rgb));
}

void ApplyFont(Fl_Widget& w, const ControlSpec& spec, int dpi) {
  Face face = FaceFor(spec.font, dpi);
  w.labelfont(face.font);
  w.labelsize(face.size);
  if (spec.foreColour != kSystemColour) w.labelcolor(ToFl(spec.foreColour));
}

template <class W>
void ApplyTextFont(W& w, const ControlSpec& spec, int dpi) {
  ApplyFont(w, spec, dpi);
  Face face = FaceFor(spec.font, dpi);
  w.textfont(face.font);
  w.textsize(face.size);
  if (spec.foreColour != kSystemColour) w.textcolor(ToFl(spec.foreColour));
}

// Label, link label, button and frame: a caption and a click.
class CaptionControl : public WidgetControl, public Captioned {
 public:
  CaptionControl(WindowBase& window, const ControlSpec& spec, Fl_Widget* widget)
      : WidgetControl(window, spec, widget) {
    setCaption(spec.caption);
  }
  std::string caption() const override { return caption_; }
  void setCaption(std::string_view text) override {
    caption_ = text;
    widget()->copy_label(LabelText(caption_).c_str());
    widget()->redraw();
  }

 protected:
  void userActed() override { raise(Event::Click); }

 private:
  std::string caption_;
};

class CheckControl : public CaptionControl, public CheckBox {
 public:
  CheckControl(WindowBase& window, const ControlSpec& spec, Fl_Check_Button* box)
      : CaptionControl(window, spec, box), box_(box) {}
  int value() const override { return box_->value() ? 1 : 0; }
  void setValue(int value) override { box_->value(value ? 1 : 0); }

 private:
  Fl_Check_Button* box_;
};

// FLTK clears the radio buttons of the same parent group: one group per window or frame.
class OptionControl : public CaptionControl, public OptionButton {
 public:
  OptionControl(WindowBase& window, const ControlSpec& spec, Fl_Round_Button* button)
      : CaptionControl(window, spec, button), button_(button) {}
  bool value() const override { return button_->value() != 0; }
  void setValue(bool selected) override {
    if (selected)
      button_->setonly();
    else
      button_->value(0);
  }

 private:
  Fl_Round_Button* button_;
};

class TextInputControl : public WidgetControl, public TextBox {
 public:
  TextInputControl(WindowBase& window, const ControlSpec& spec, TextInput* input)
      : WidgetControl(window, spec, input), input_(input) {
    setText(spec.caption);
  }
  std::string text() const override { return std::string(input_->value(), input_->size()); }
  void setText(std::string_view text) override {
    input_->value(text.data(), static_cast<int>(text.size()));
  }
  void replaceSelection(std::string_view text) override {
    input_->replace(input_->position(), input_->mark(), text.data(), static_cast<int>(text.size()));
  }
  void clearLineToCaret() override {
    const int from = std::min(input_->position(), input_->mark());
    const int to = std::max(input_->position(), input_->mark());
    const std::string_view value(input_->value(), static_cast<std::size_t>(input_->size()));
    input_->replace(static_cast<int>(LineStart(value, static_cast<std::size_t>(from))), to,
                    nullptr, 0);
  }

 protected:
  void userActed() override { raise(Event::Click); }

 private:
  TextInput* input_;
};

class TextEditorControl : public WidgetControl, public TextBox {
 public:
  TextEditorControl(WindowBase& window, const ControlSpec& spec, TextEditor* editor)
      : WidgetControl(window, spec, editor), editor_(editor) {
    setText(spec.caption);
  }
  std::string text() const override {
    char* copy = editor_->text().text();
    std::string result(copy);
    free(copy);
    return result;
  }
  void setText(std::string_view text) override {
    GrowingBuffer& buffer = editor_->text();
    buffer.remove(0, buffer.length());
    buffer.insertBytes(0, text);
    editor_->insert_position(0);
  }
  void replaceSelection(std::string_view text) override {
    GrowingBuffer& buffer = editor_->text();
    int start = editor_->insert_position();
    int end = start;
    if (buffer.selected()) {
      buffer.selection_position(&start, &end);
      buffer.remove(start, end);
    }
    int before = buffer.length();
    buffer.insertBytes(start, text);
    editor_->insert_position(start + (buffer.length() - before));
    trimOldest();
    editor_->show_insert_position();
  }
  void clearLineToCaret() override {
    GrowingBuffer& buffer = editor_->text();
    int start = editor_->insert_position();
    int end = start;
    if (buffer.selected()) buffer.selection_position(&start, &end);
    const int lineStart = buffer.line_start(start);
    buffer.remove(lineStart, end);
    editor_->insert_position(lineStart);
    editor_->show_insert_position();
  }

 protected:
  void userActed() override {}

 private:
  // The display moves the caret and the selection with the text it drops.
  void trimOldest() {
    GrowingBuffer& buffer = editor_->text();
    auto lineStart = [&](std::size_t pos) {
      return static_cast<std::size_t>(buffer.line_start(static_cast<int>(pos)));
    };
    const std::size_t count = OutputTrimCount(static_cast<std::size_t>(buffer.length()), lineStart);
    // A cut within a line keeps the whole character that it would split.
    const int cut = buffer.utf8_align(static_cast<int>(count));
    if (cut <= 0) return;
    // Dropped output is not kept for undo: that copy would be as large as what it frees.
    buffer.canUndo(0);
    buffer.remove(0, cut);
    buffer.canUndo(1);
  }

  TextEditor* editor_;
};

class ListControl : public WidgetControl, public ListBox {
 public:
  ListControl(WindowBase& window, const ControlSpec& spec, SelectBrowser* list)
      : WidgetControl(window, spec, list), list_(list) {}
  void addItem(std::string_view text) override { AddListLine(*list_, text); }
  void removeItem(int index) override {
    if (index >= 0 && index < listCount()) list_->remove(index + 1);
  }
  void clear() override { list_->clear(); }
  int listCount() const override { return list_->size(); }
  int listIndex() const override { return list_->value() - 1; }
  void setListIndex(int index) override { SelectLine(*list_, index); }
  std::string item(int index) const override { return LineText(*list_, index); }

  static void SelectLine(Fl_Hold_Browser& list, int index) {
    if (index < 0 || index >= list.size()) {
      list.deselect();
      return;
    }
    list.value(index + 1);
    if (!list.displayed(index + 1)) list.middleline(index + 1);
  }
  static std::string LineText(const Fl_Hold_Browser& list, int index) {
    if (index < 0 || index >= list.size()) return {};
    return ListLine(list, index + 1);
  }

 protected:
  void userActed() override { raise(Event::Click); }

 private:
  SelectBrowser* list_;
};

// The file browser's lists: what they hold is decided in ui/file_browser.h; these show it.
class FileListControl : public WidgetControl, public BrowserFiles {
 public:
  FileListControl(WindowBase& window, const ControlSpec& spec, SelectBrowser* list)
      : WidgetControl(window, spec, list), list_(list) {
    beginBrowsing();
  }

 protected:
  void showFiles(const std::vector<std::string>& files) override {
    list_->clear();
    for (const std::string& name : files) AddListLine(*list_, name);
  }
  void selectLine(int index) override { ListControl::SelectLine(*list_, index); }
  int selectedLine() const override { return list_->value() - 1; }
  // A double-click comes after the click of its first press, as on Windows.
  void userActed() override { raise(list_->doubleClicked() ? Event::DblClick : Event::Click); }

 private:
  SelectBrowser* list_;
};

class DirListControl : public WidgetControl, public BrowserDirs {
 public:
  DirListControl(WindowBase& window, const ControlSpec& spec, DirBrowser* list)
      : WidgetControl(window, spec, list), list_(list) {
    beginBrowsing();
  }

 protected:
  void userActed() override { userOpened(list_->openedLine() - 1); }
  void changed() override { raise(Event::Change); }
  void showDirectories(const std::vector<platform::DirEntry>& entries) override {
    list_->clear();
    int opened = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const platform::DirEntry& e = entries[i];
      bool expanded = e.opened || (i + 1 < entries.size() && entries[i + 1].depth > e.depth);
      std::string line(static_cast<std::size_t>(e.depth) * 2, ' ');
      line += expanded ? "[-] " : "[+] ";
      line += e.label;
      AddListLine(*list_, line);
      if (e.opened) opened = static_cast<int>(i) + 1;
    }
    if (opened > 0) ListControl::SelectLine(*list_, opened - 1);
  }

 private:
  DirBrowser* list_;
};

class DriveListControl : public WidgetControl, public BrowserDrives {
 public:
  DriveListControl(WindowBase& window, const ControlSpec& spec, DriveChoice* choice)
      : WidgetControl(window, spec, choice), choice_(choice) {
    choice_->onOpening([this] { refreshDrives(); });
    beginBrowsing();
  }

 protected:
  void userActed() override { userPicked(choice_->value()); }
  void changed() override { raise(Event::Change); }
  void showDrives(const std::vector<std::string>& drives, int selected) override {
    choice_->setDrives(drives, selected);
  }

 private:
  DriveChoice* choice_;
};

class ScrollControl : public WidgetControl, public ScrollBar {
 public:
  ScrollControl(WindowBase& window, const ControlSpec& spec, ArrowScrollBar* bar)
      : WidgetControl(window, spec, bar), bar_(bar) {
    bar_->bounds(spec.minimum, spec.maximum);
    bar_->value(spec.minimum);
    // The thumb takes a share of the track as one step does of the range.
    int steps = std::abs(spec.maximum - spec.minimum) + 1;
    bar_->slider_size(std::max(0.1, 1.0 / steps));
  }
  int value() const override { return bar_->value(); }
  void setValue(int value) override {
    int low = std::min(spec_minimum(), spec_maximum());
    int high = std::max(spec_minimum(), spec_maximum());
    bar_->step(std::clamp(value, low, high) - bar_->value());
  }

 protected:
  void userActed() override { raise(Event::Change); }

 private:
  int spec_minimum() const { return static_cast<int>(bar_->minimum()); }
  int spec_maximum() const { return static_cast<int>(bar_->maximum()); }
  ArrowScrollBar* bar_;
};

class ImageControl : public WidgetControl {
 public:
  ImageControl(WindowBase& window, const ControlSpec& spec, Picture* picture)
      : WidgetControl(window, spec, picture) {}

 protected:
  void userActed() override { raise(Event::Click); }
};

template <class W>
W* Make(const Placement& at) {
  return new W(at.x, at.y, at.w, at.h);
}

Fl_Align LabelAlign(const ControlSpec& spec) {
  Fl_Align side = spec.align == Align::Centre ? FL_ALIGN_TOP : FL_ALIGN_TOP_LEFT;
  return side | FL_ALIGN_INSIDE | FL_ALIGN_WRAP;
}

std::unique_ptr<WidgetControl> CreateLabel(WindowBase& window, const ControlSpec& spec,
                                           const Placement& at) {
  auto* label = Make<Label>(at);
  label->box(spec.border ? FL_BORDER_BOX : FL_FLAT_BOX);
  label->align(LabelAlign(spec));
  label->setLink(spec.kind == Kind::LinkLabel);
  ApplyFont(*label, spec, at.dpi);
  return std::make_unique<CaptionControl>(window, spec, label);
}

}  // namespace

std::unique_ptr<WidgetControl> CreateControl(WindowBase& window, const ControlSpec& spec,
                                             const Placement& at) {
  switch (spec.kind) {
    case Kind::Label:
    case Kind::LinkLabel:
      return CreateLabel(window, spec, at);
    case Kind::Button: {
      auto* button = Make<Guarded<Fl_Button>>(at);
      button->align(FL_ALIGN_CENTER | FL_ALIGN_WRAP);
      ApplyFont(*button, spec, at.dpi);
      return std::make_unique<CaptionControl>(window, spec, button);
    }
    case Kind::Frame: {
      auto* frame = Make<Frame>(at);
      ApplyFont(*frame, spec, at.dpi);
      frame->end();  // the caller opens it again for the frame's own controls
      return std::make_unique<CaptionControl>(window, spec, frame);
    }
    case Kind::CheckBox: {
      auto* box = Make<Guarded<Fl_Check_Button>>(at);
      ApplyFont(*box, spec, at.dpi);
      return std::make_unique<CheckControl>(window, spec, box);
    }
    case Kind::OptionButton: {
      auto* button = Make<Guarded<Fl_Round_Button>>(at);
      button->type(FL_RADIO_BUTTON);
      ApplyFont(*button, spec, at.dpi);
      return std::make_unique<OptionControl>(window, spec, button);
    }
    case Kind::TextBox: {
      auto* input = Make<TextInput>(at);
      input->when(FL_WHEN_NEVER);
      ApplyTextFont(*input, spec, at.dpi);
      return std::make_unique<TextInputControl>(window, spec, input);
    }
    case Kind::MultiLineText: {
      auto* editor = Make<TextEditor>(at);
      ApplyTextFont(*editor, spec, at.dpi);
      return std::make_unique<TextEditorControl>(window, spec, editor);
    }
    case Kind::ListBox: {
      auto* list = Make<SelectBrowser>(at);
      ApplyTextFont(*list, spec, at.dpi);
      return std::make_unique<ListControl>(window, spec, list);
    }
    case Kind::FileList: {
      auto* list = Make<SelectBrowser>(at);
      ApplyTextFont(*list, spec, at.dpi);
      return std::make_unique<FileListControl>(window, spec, list);
    }
    case Kind::DirList: {
      auto* list = Make<DirBrowser>(at);
      ApplyTextFont(*list, spec, at.dpi);
      return std::make_unique<DirListControl>(window, spec, list);
    }
    case Kind::DriveList: {
      auto* choice = Make<DriveChoice>(at);
      ApplyTextFont(*choice, spec, at.dpi);
      return std::make_unique<DriveListControl>(window, spec, choice);
    }
    case Kind::VScrollBar:
      return std::make_unique<ScrollControl>(window, spec, Make<ArrowScrollBar>(at));
    case Kind::Image:
      return std::make_unique<ImageControl>(window, spec, Make<Picture>(at));
  }
  return nullptr;
}

}  // namespace ui::fltk
