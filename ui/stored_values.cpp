#include "ui/stored_values.h"

#include "ui/item_list.h"
#include "ui/output_filter.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

// Always enabled and never shown, so enabling one changes nothing the user could notice; the
// state is still kept, as the window layer promises for every control.
class StoredControl : public Control {
 public:
  bool enabled() const override { return enabled_; }
  void setEnabled(bool on) override { enabled_ = on; }

 private:
  bool enabled_ = true;
};

class StoredList final : public StoredControl, public ItemList {};

class StoredCheck final : public StoredControl, public CheckBox {
 public:
  int value() const override { return value_; }
  void setValue(int value) override { value_ = value ? 1 : 0; }

 private:
  int value_ = 0;
};

// Assigning the text puts the caret at its start, as a text box does.
class StoredText final : public StoredControl, public TextBox {
 public:
  explicit StoredText(std::string_view text) : text_(text) {}
  std::string text() const override { return text_; }
  void setText(std::string_view text) override {
    text_ = text;
    caret_ = 0;
  }
  void replaceSelection(std::string_view text) override {
    caret_ = std::min(caret_, text_.size());
    text_.insert(caret_, text);
    caret_ += text.size();
  }
  void clearLineToCaret() override {
    caret_ = std::min(caret_, text_.size());
    const size_t lineStart = LineStart(text_, caret_);
    text_.erase(lineStart, caret_ - lineStart);
    caret_ = lineStart;
  }

 private:
  std::string text_;
  size_t caret_ = 0;
};

std::unique_ptr<Control> MakeValue(const StoredSpec& spec) {
  switch (spec.kind) {
    case Kind::ListBox: return std::make_unique<StoredList>();
    case Kind::CheckBox: return std::make_unique<StoredCheck>();
    case Kind::TextBox: return std::make_unique<StoredText>(spec.initial);
    default: return nullptr;  // no other kind holds a value worth keeping unseen
  }
}

}  // namespace

StoredValues::StoredValues(std::span<const StoredSpec> specs) {
  for (const StoredSpec& spec : specs)
    if (auto value = MakeValue(spec)) values_.emplace(std::string(spec.name), std::move(value));
}

StoredValues::~StoredValues() = default;

Control* StoredValues::find(std::string_view name) const {
  auto it = values_.find(name);
  return it == values_.end() ? nullptr : it->second.get();
}

}  // namespace ui
