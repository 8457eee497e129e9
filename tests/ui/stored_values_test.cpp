// The values a window keeps without a visible control behave as the controls they stand for.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "control_cases.h"
#include "ui/controls.h"
#include "ui/stored_values.h"

namespace {

constexpr std::array kStored = {
    ui::StoredSpec{"List", ui::Kind::ListBox},
    ui::StoredSpec{"Flag", ui::Kind::CheckBox},
    ui::StoredSpec{"Name", ui::Kind::TextBox, "start"},
};

template <class T>
T& Stored(ui::StoredValues& values, const char* name) {
  auto* value = dynamic_cast<T*>(values.find(name));
  EXPECT_NE(value, nullptr) << name;
  return *value;
}

TEST(StoredValues, BehaveAsTheControlsTheyStandFor) {
  ui::StoredValues values(kStored);
  control_cases::RunListCases(Stored<ui::ListBox>(values, "List"));
  control_cases::RunCheckValueCases(Stored<ui::CheckBox>(values, "Flag"));
  auto& name = Stored<ui::ValueTextBox>(values, "Name");
  auto select = [&](std::size_t from, std::size_t to) {
    name.select(std::min(from, to), std::max(from, to));
  };
  auto caret = [&] { return name.caret(); };
  control_cases::RunReplaceCases(name, select, caret);
  control_cases::RunClearLineCases(name, select, caret);
}

TEST(StoredValues, KindsInitialValuesAndUnknownNames) {
  ui::StoredValues values(kStored);
  EXPECT_EQ(values.find("Nothing"), nullptr);
  EXPECT_EQ(dynamic_cast<ui::TextBox*>(values.find("List")), nullptr);
  EXPECT_EQ(dynamic_cast<ui::Captioned*>(values.find("Flag")), nullptr);
  EXPECT_EQ(dynamic_cast<ui::TextBox&>(*values.find("Name")).text(), "start");
}

}  // namespace
