#include "ui/controls.h"

#include <algorithm>

#include "ui/output_filter.h"
#include "ui/window_base.h"

namespace ui {

void CaptionBase::setCaption(std::string_view text) {
  caption_ = text;
  showCaption(caption_);
}

// --- TextBoxBase ---

void TextBoxBase::replaceSelection(std::string_view text) {
  replaceRange(selection(), text);
  if (limit_ > 0) keepNewest();
  scrollToCaret();
}

void TextBoxBase::clearLineToCaret() {
  const Range selected = selection();
  replaceRange({lineStart(selected.start), selected.end}, {});
  scrollToCaret();
}

std::size_t TextBoxBase::OutputLimitOf(Kind kind, int maximum) {
  if (kind != Kind::MultiLineText) return 0;
  return maximum > 0 ? static_cast<std::size_t>(maximum) : kOutputLimit;
}

void TextBoxBase::keepNewest() {
  const std::size_t count =
      OutputTrimCount(length(), [this](std::size_t pos) { return lineStart(pos); }, limit_);
  if (count == 0) return;
  // A cut within a line keeps the whole character that it would split.
  const std::size_t cut = characterStart(count);
  if (cut > 0) dropFront(cut);
}

// --- OptionButtonBase ---

void OptionButtonBase::setValue(bool selected) {
  showValue(selected);
  if (!selected) return;
  for (const ControlSpec* other : OtherOptions(host_.spec(), row_))
    host_.get<OptionButton>(other->name).setValue(false);
}

// --- ScrollBarBase ---

ScrollBarBase::ScrollBarBase(WindowBase& window, const ControlSpec& spec)
    : host_(window),
      row_(spec),
      low_(std::min(spec.minimum, spec.maximum)),
      high_(std::max(spec.minimum, spec.maximum)),
      value_(spec.minimum) {}

void ScrollBarBase::setValue(int value) {
  value = std::clamp(value, low_, high_);
  if (value == value_) return;
  value_ = value;
  showValue(value_);
  // The handler may unload the window and so destroy this control: raise last.
  host_.raise(row_.name, Event::Change);
}

// --- ListBoxBase ---

void ListBoxBase::removeItem(int index) {
  if (holds(index)) nativeRemove(index);
}

void ListBoxBase::setListIndex(int index) { nativeSelect(holds(index) ? index : -1); }

std::string ListBoxBase::item(int index) const {
  return holds(index) ? nativeItem(index) : std::string();
}

// --- ValueTextBox ---

void ValueTextBox::setText(std::string_view text) {
  text_ = text;
  start_ = end_ = 0;
}

void ValueTextBox::select(std::size_t start, std::size_t end) {
  start_ = std::min(start, text_.size());
  end_ = std::clamp(end, start_, text_.size());
}

void ValueTextBox::replaceRange(Range range, std::string_view text) {
  text_.replace(range.start, range.end - range.start, text);
  start_ = end_ = range.start + text.size();
}

std::size_t ValueTextBox::lineStart(std::size_t pos) const { return LineStart(text_, pos); }

void ValueTextBox::dropFront(std::size_t count) {
  text_.erase(0, count);
  start_ = start_ > count ? start_ - count : 0;
  end_ = end_ > count ? end_ - count : 0;
}

std::size_t ValueTextBox::characterStart(std::size_t pos) const {
  while (pos > 0 && pos < text_.size() && (static_cast<unsigned char>(text_[pos]) & 0xC0) == 0x80)
    --pos;
  return pos;
}

// --- ValueListBox ---

void ValueListBox::nativeRemove(int index) {
  items_.erase(items_.begin() + index);
  if (index_ == index)
    index_ = -1;
  else if (index_ > index)
    --index_;
}

void ValueListBox::nativeClear() {
  items_.clear();
  index_ = -1;
}

}  // namespace ui
