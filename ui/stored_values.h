// Values a window holds under a control's name without showing anything: the main window's path
// list and SRAM request fields. Handlers read and write them through Window::get<...> as they do
// any control, but no backend creates a native control for them, so the user can never see,
// focus or type into them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/layout.h"
#include "ui/window.h"

namespace ui {

class StoredValues {
 public:
  explicit StoredValues(std::span<const StoredSpec> specs);
  ~StoredValues();
  // Null when the window holds no value of that name.
  Control* find(std::string_view name) const;

 private:
  std::map<std::string, std::unique_ptr<Control>, std::less<>> values_;
};

}  // namespace ui
