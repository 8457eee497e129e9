// The values a window keeps without a visible control behave as the controls they stand for.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ui/stored_values.h"

namespace {

constexpr std::array kStored = {
    ui::StoredSpec{"List", ui::Kind::ListBox},
    ui::StoredSpec{"Flag", ui::Kind::CheckBox},
    ui::StoredSpec{"Name", ui::Kind::TextBox, "start"},
};

TEST(StoredValues, ListKeepsItsSelectionOnTheSameEntry) {
  struct Row {
    const char* what;
    int selected;
    int removed;
    int selectedAfter;
    std::vector<std::string> items;
  };
  const Row rows[] = {
      {"below the selection", 2, 0, 1, {"b", "c"}},
      {"the selection itself", 1, 1, -1, {"a", "c"}},
      {"above the selection", 0, 2, 0, {"a", "b"}},
      {"out of range", 1, 3, 1, {"a", "b", "c"}},
      {"negative", 1, -1, 1, {"a", "b", "c"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ui::StoredValues values(kStored);
    auto* list = dynamic_cast<ui::ListBox*>(values.find("List"));
    ASSERT_NE(list, nullptr);
    for (const char* item : {"a", "b", "c"}) list->addItem(item);
    list->setListIndex(row.selected);
    list->removeItem(row.removed);
    EXPECT_EQ(list->listIndex(), row.selectedAfter);
    std::vector<std::string> items;
    for (int i = 0; i < list->listCount(); ++i) items.push_back(list->item(i));
    EXPECT_EQ(items, row.items);
  }
}

TEST(StoredValues, KindsInitialValuesAndUnknownNames) {
  ui::StoredValues values(kStored);
  EXPECT_EQ(values.find("Nothing"), nullptr);
  EXPECT_EQ(dynamic_cast<ui::TextBox*>(values.find("List")), nullptr);

  auto& flag = dynamic_cast<ui::CheckBox&>(*values.find("Flag"));
  EXPECT_EQ(flag.value(), 0);
  flag.setValue(1);
  EXPECT_EQ(flag.value(), 1);

  auto& name = dynamic_cast<ui::TextBox&>(*values.find("Name"));
  EXPECT_EQ(name.text(), "start");
  name.setText("save.srm");
  name.replaceSelection("my ");  // the caret is at the start after an assignment
  EXPECT_EQ(name.text(), "my save.srm");

  auto& list = dynamic_cast<ui::ListBox&>(*values.find("List"));
  list.setListIndex(0);
  EXPECT_EQ(list.listIndex(), -1);  // nothing to select
  EXPECT_EQ(list.item(0), "");
}

}  // namespace
