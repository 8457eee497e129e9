// The flash list's two parallel lists through the main window's buttons.
#include <gtest/gtest.h>

#include "support/form_rig.h"

namespace {

using testing_support::FormRig;

struct FlashList : ::testing::Test {
  FlashList() {
    rig.writeRom("a.bin", "ALPHA");
    rig.writeRom("b.bin", "BRAVO");
    rig.writeRom("c.bin", "CHARLIE");
    rig.browseData();
  }
  // Selects file i of the file list (its title goes into the title box) and adds it.
  void add(int file) {
    ASSERT_TRUE(rig.main().userSelect("File1", file));
    ASSERT_TRUE(rig.main().userClick("Command1"));
  }
  std::vector<std::string> titles() { return items("List1"); }
  std::vector<std::string> paths() { return items("List2"); }
  std::vector<std::string> items(const char* list) {
    auto& l = rig.main().get<ui::ListBox>(list);
    std::vector<std::string> out;
    for (int i = 0; i < l.listCount(); ++i) out.push_back(l.item(i).substr(0, 7));
    return out;
  }
  FormRig rig;
};

TEST_F(FlashList, AddingTheSameFileTwiceGivesTwoEqualEntries) {
  add(0);
  add(0);
  auto& l = rig.main().get<ui::ListBox>("List2");
  ASSERT_EQ(l.listCount(), 2);
  EXPECT_EQ(l.item(0), rig.data().file("a.bin"));
  EXPECT_EQ(l.item(1), l.item(0));
  EXPECT_EQ(titles(), (std::vector<std::string>{"ALPHA  ", "ALPHA  "}));
}

TEST_F(FlashList, TheTitleIsWhateverTheTitleBoxHoldsEvenWhenTypedOverOrEmpty) {
  rig.main().userSelect("File1", 1);
  rig.main().get<ui::TextBox>("Text1").setText("");
  rig.main().userClick("Command1");
  rig.main().userType("Text1", "My own");
  rig.main().userClick("Command1");
  auto& l = rig.main().get<ui::ListBox>("List1");
  ASSERT_EQ(l.listCount(), 2);
  EXPECT_EQ(l.item(0), "");
  EXPECT_EQ(l.item(1), "My own");
  EXPECT_EQ(rig.main().get<ui::ListBox>("List2").listCount(), 2);
}

TEST_F(FlashList, NoFileSelectedAddsNothing) {
  rig.main().userClick("Command1");
  EXPECT_TRUE(titles().empty());
  EXPECT_TRUE(paths().empty());
}

TEST_F(FlashList, RemoveTakesTheSelectedTitlesPositionFromBothLists) {
  add(0);
  add(1);
  add(2);
  auto& l1 = rig.main().get<ui::ListBox>("List1");
  rig.main().userClick("Command2");  // nothing selected: nothing happens
  EXPECT_EQ(l1.listCount(), 3);
  rig.main().userSelect("List1", 1);
  rig.main().userClick("Command2");
  EXPECT_EQ(titles(), (std::vector<std::string>{"ALPHA  ", "CHARLIE"}));
  auto& l2 = rig.main().get<ui::ListBox>("List2");
  ASSERT_EQ(l2.listCount(), 2);
  EXPECT_EQ(l2.item(0), rig.data().file("a.bin"));
  EXPECT_EQ(l2.item(1), rig.data().file("c.bin"));
}

TEST_F(FlashList, EraseEmptiesBothListsAndOnAnEmptyListDoesNothing) {
  rig.main().userClick("Command3");
  add(0);
  add(2);
  rig.main().userClick("Command3");
  EXPECT_TRUE(titles().empty());
  EXPECT_TRUE(paths().empty());
}

TEST_F(FlashList, AFileThatCannotBeReadEmptiesTheTitleBox) {
  rig.main().userSelect("File1", 0);
  EXPECT_EQ(rig.main().get<ui::TextBox>("Text1").text().substr(0, 5), "ALPHA");
  std::filesystem::remove(rig.data().file("b.bin"));
  rig.main().userSelect("File1", 1);  // still listed, gone from the disk
  EXPECT_EQ(rig.main().get<ui::TextBox>("Text1").text(), "");
  EXPECT_TRUE(titles().empty());
}

}  // namespace
