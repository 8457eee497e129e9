#include "ui/stored_values.h"

#include "ui/controls.h"

namespace ui {

namespace {

std::unique_ptr<Control> MakeValue(const StoredSpec& spec) {
  switch (spec.kind) {
    case Kind::ListBox: return std::make_unique<ValueListBox>();
    case Kind::CheckBox: return std::make_unique<ValueCheckBox>();
    case Kind::TextBox: return std::make_unique<ValueTextBox>(spec.initial);
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
