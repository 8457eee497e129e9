#include "sram/form2.h"

#include <string>

#include "platform/path_text.h"
#include "ui/file_browser.h"

namespace sram {

Form2::Form2(ui::Backend& backend, ui::Window& form1) : backend_(backend), form1_(form1) {
  window_ = backend_.createWindow(Form2Spec());
  ui::Window& w = *window_;
  ui::ConnectFileBrowser(w);
  w.on("Text1", ui::Event::Click, [this] { Text1_Click(); });
  w.on("File1", ui::Event::Click, [this] { File1_Click(); });
  w.on("Command1", ui::Event::Click, [this] { Command1_Click(); });
  w.onUnload([this](bool&) { Form_Unload(); });
  Form_Load();
}

Form2::~Form2() = default;

void Form2::show() { window_->show(); }

bool Form2::loaded() const { return window_->loaded(); }

// The dialog acts as a modal one: the main window takes no input while it is open, and the
// dialog, owned by it, stays above it.
void Form2::Form_Load() {
  window_->setOwner(form1_);
  form1_.setEnabled(false);
}

// By "OK" or by the close button: the main window works again and gets the focus back; its
// activation then runs the request, if "OK" left one.
void Form2::Form_Unload() {
  form1_.setEnabled(true);
  form1_.setFocus();
}

// Only a mouse click clears the placeholder; tabbing into the box leaves it.
void Form2::Text1_Click() {
  auto& text = window_->get<ui::TextBox>("Text1");
  if (text.text() == kFilenamePlaceholder) text.setText("");
}

void Form2::File1_Click() {
  auto& files = window_->get<ui::FileList>("File1");
  if (files.listIndex() < 0) return;
  window_->get<ui::TextBox>("Text1").setText(files.fileName());
}

void Form2::Command1_Click() {
  std::string name = window_->get<ui::TextBox>("Text1").text();
  std::string directory = window_->get<ui::DirList>("Dir1").path();
  // A full path typed into the box names its file as it stands: joined onto the folder the
  // dialog shows, it would name no file at all.
  if (name != kFilenamePlaceholder && !platform::RootOf(name).empty()) {
    directory = platform::FolderOf(name);
    name = std::string(platform::FileNameOf(name));
  }
  if (name == kFilenamePlaceholder || name.empty()) {
    backend_.messageBox("Enter a filename, please.", "Error");
    return;
  }
  form1_.setEnabled(true);
  form1_.get<ui::CheckBox>("Check5").setValue(1);
  form1_.get<ui::TextBox>("Text4").setText(name);
  form1_.get<ui::TextBox>("Text5").setText(directory);
  form1_.setFocus();
  window_->unload();
}

}  // namespace sram
