// How each kind of control behaves, written once. A backend derives its native control from
// one of the *Base classes below and supplies only what the toolkit does (show a value, get and
// set text and the selection, replace a range, find a line's start, add and remove items); the
// rules of what a control keeps, clamps, clears or reports are decided here.
//
// The Value* classes hold plain values with nothing to draw: they are the in-memory backend's
// controls and the values a window keeps without showing them (ui/stored_values.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/layout.h"
#include "ui/window.h"

namespace ui {

class WindowBase;

// Labels, buttons, frames, check and option boxes: the caption is what the program last set.
class CaptionBase : public Captioned {
 public:
  std::string caption() const override { return caption_; }
  void setCaption(std::string_view text) override;

 protected:
  // The backend's part: show text as the caption.
  virtual void showCaption(const std::string& text) = 0;

 private:
  std::string caption_;
};

// A text box. Positions are the native control's own units; the rules only hand them back.
class TextBoxBase : public TextBox {
 public:
  void replaceSelection(std::string_view text) override;
  void clearLineToCaret() override;

 protected:
  // A box of spec's kind and limit (ControlSpec::maximum): a multi-line box drops its oldest
  // output past its limit; a single-line box keeps all it is given.
  explicit TextBoxBase(const ControlSpec& spec) : limit_(OutputLimitOf(spec.kind, spec.maximum)) {}
  // limit 0: keeps all it is given.
  explicit TextBoxBase(std::size_t limit = 0) : limit_(limit) {}

  struct Range {
    std::size_t start;
    std::size_t end;  // start == end: the caret
  };
  // The backend's part. replaceRange leaves the caret right after the inserted text; dropFront
  // keeps the caret and the selection where they were in the text that is left.
  virtual Range selection() const = 0;
  virtual void replaceRange(Range range, std::string_view text) = 0;
  virtual std::size_t lineStart(std::size_t pos) const = 0;
  virtual std::size_t length() const = 0;
  virtual void dropFront(std::size_t count) = 0;
  // Where the character that holds pos starts, so a cut never splits one.
  virtual std::size_t characterStart(std::size_t pos) const { return pos; }
  // Brings the caret into view.
  virtual void scrollToCaret() {}

 private:
  static std::size_t OutputLimitOf(Kind kind, int maximum);
  void keepNewest();

  std::size_t limit_;
};

// Values other than 0 read back as 1: a check box is clear or set, whatever it was given.
// The user sets and clears the box natively, so its value is the native one.
class CheckBoxBase : public CheckBox {
 public:
  int value() const override { return nativeValue() ? 1 : 0; }
  void setValue(int value) override { showValue(value ? 1 : 0); }

 protected:
  virtual int nativeValue() const = 0;
  virtual void showValue(int value) = 0;
};

// Selecting an option button clears the others of its container (ui::OtherOptions).
// The toolkit's own grouping does not decide: it may follow the creation order, not the
// container.
class OptionButtonBase : public OptionButton {
 public:
  bool value() const override { return nativeValue(); }
  void setValue(bool selected) override;

 protected:
  OptionButtonBase(Window& window, const ControlSpec& spec) : host_(window), row_(spec) {}
  virtual bool nativeValue() const = 0;
  virtual void showValue(bool selected) = 0;
  // The user selected the button: the same rule as setValue(true).
  void userSelected() { setValue(true); }

 private:
  Window& host_;
  const ControlSpec& row_;
};

// A vertical scroll bar from the table's minimum to its maximum, starting at the minimum. A value
// beyond either end stops there; moving to another value raises Change, as the arrows do.
class ScrollBarBase : public ScrollBar {
 public:
  int value() const override { return value_; }
  void setValue(int value) override;

 protected:
  ScrollBarBase(WindowBase& window, const ControlSpec& spec);
  virtual void showValue(int value) = 0;
  int low() const { return low_; }
  int high() const { return high_; }

 private:
  WindowBase& host_;
  const ControlSpec& row_;
  int low_;
  int high_;
  int value_;
};

// A list box: an index outside the list reads as nothing, selects nothing and removes nothing.
class ListBoxBase : public ListBox {
 public:
  void addItem(std::string_view text) override { nativeAdd(text); }
  void removeItem(int index) override;
  void clear() override { nativeClear(); }
  void setListIndex(int index) override;
  std::string item(int index) const override;

 protected:
  virtual void nativeAdd(std::string_view text) = 0;
  virtual void nativeRemove(int index) = 0;
  virtual void nativeClear() = 0;
  virtual void nativeSelect(int index) = 0;  // -1: none
  virtual std::string nativeItem(int index) const = 0;

 private:
  bool holds(int index) const { return index >= 0 && index < listCount(); }
};

// --- plain values ---------------------------------------------------------------------------

// Enabling one changes nothing that could be seen, but the state is kept, as the window layer
// promises for every control.
class ValueControl : public Control {
 public:
  bool enabled() const override { return enabled_; }
  void setEnabled(bool on) override { enabled_ = on; }

 private:
  bool enabled_ = true;
};

// A caption with nothing to show it on.
class KeptCaption : public CaptionBase {
 public:
  explicit KeptCaption(std::string_view caption) { setCaption(caption); }

 protected:
  void showCaption(const std::string&) override {}
};

class ValueCaption : public ValueControl, public KeptCaption {
 public:
  using KeptCaption::KeptCaption;
};

// Assigning the text puts the caret at its start, as a text box does.
class ValueTextBox : public ValueControl, public TextBoxBase {
 public:
  explicit ValueTextBox(std::string_view text = {}) : text_(text) {}
  explicit ValueTextBox(const ControlSpec& spec) : TextBoxBase(spec), text_(spec.caption) {}
  std::string text() const override { return text_; }
  void setText(std::string_view text) override;

  // What the user does with the mouse: a caret (start == end) or a selection.
  void select(std::size_t start, std::size_t end);
  // The text, without copying it.
  const std::string& content() const { return text_; }
  std::size_t caret() const { return end_; }

 protected:
  Range selection() const override { return {start_, end_}; }
  void replaceRange(Range range, std::string_view text) override;
  std::size_t lineStart(std::size_t pos) const override;
  std::size_t length() const override { return text_.size(); }
  void dropFront(std::size_t count) override;
  std::size_t characterStart(std::size_t pos) const override;

 private:
  std::string text_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
};

class ValueCheckBox : public ValueControl, public CheckBoxBase {
 protected:
  int nativeValue() const override { return value_; }
  void showValue(int value) override { value_ = value; }

 private:
  int value_ = 0;
};

class ValueOptionButton : public ValueControl, public KeptCaption, public OptionButtonBase {
 public:
  ValueOptionButton(Window& window, const ControlSpec& spec)
      : KeptCaption(spec.caption), OptionButtonBase(window, spec) {}
  // The user's click.
  void click() { userSelected(); }

 protected:
  bool nativeValue() const override { return value_; }
  void showValue(bool selected) override { value_ = selected; }

 private:
  bool value_ = false;
};

class ValueScrollBar : public ValueControl, public ScrollBarBase {
 public:
  ValueScrollBar(WindowBase& window, const ControlSpec& spec) : ScrollBarBase(window, spec) {}

 protected:
  void showValue(int) override {}
};

// Removing the selected item leaves nothing selected; a later selection moves up with it.
class ValueListBox : public ValueControl, public ListBoxBase {
 public:
  int listCount() const override { return static_cast<int>(items_.size()); }
  int listIndex() const override { return index_; }

 protected:
  void nativeAdd(std::string_view text) override { items_.emplace_back(text); }
  void nativeRemove(int index) override;
  void nativeClear() override;
  void nativeSelect(int index) override { index_ = index; }
  std::string nativeItem(int index) const override {
    return items_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<std::string> items_;
  int index_ = -1;
};

}  // namespace ui
