// The SRAM dialog (Form2): names the file of an SRAM transfer and leaves the request in the
// main window's request fields. While it is open the main window takes no input.
#pragma once

#include <memory>

#include "ui/window.h"

namespace sram {

const ui::WindowSpec& Form2Spec();

inline constexpr std::string_view kFilenamePlaceholder = "(filename...)";

class Form2 {
 public:
  // Creates the dialog; its load handler disables form1.
  Form2(ui::Backend& backend, ui::Window& form1);
  ~Form2();

  void show();
  bool loaded() const;
  ui::Window& window() { return *window_; }

 private:
  void Form_Load();
  void Form_Unload();
  void Text1_Click();
  void File1_Click();
  void Command1_Click();

  ui::Backend& backend_;
  ui::Window& form1_;
  std::unique_ptr<ui::Window> window_;
};

}  // namespace sram
