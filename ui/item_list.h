// The items and selection of a list box with nothing to draw: the stored path list and the
// in-memory test window's lists behave alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/window.h"

namespace ui {

class ItemList : public ListBox {
 public:
  void addItem(std::string_view text) override { items_.emplace_back(text); }
  // Removing the selected item leaves nothing selected; a later selection moves up with it.
  void removeItem(int index) override {
    if (index < 0 || index >= listCount()) return;
    items_.erase(items_.begin() + index);
    if (index_ == index)
      index_ = -1;
    else if (index_ > index)
      --index_;
  }
  void clear() override {
    items_.clear();
    index_ = -1;
  }
  int listCount() const override { return static_cast<int>(items_.size()); }
  int listIndex() const override { return index_; }
  void setListIndex(int index) override { index_ = index >= 0 && index < listCount() ? index : -1; }
  std::string item(int index) const override {
    return index >= 0 && index < listCount() ? items_[static_cast<std::size_t>(index)]
                                             : std::string();
  }

 private:
  std::vector<std::string> items_;
  int index_ = -1;
};

}  // namespace ui
