// The main window (Form1): its handlers, the start-up and shut-down sequences, the settings
// file's I/O, and the guard that keeps one tool job at a time.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/job_host.h"
#include "ui/window.h"

namespace sram {
class Form2;
}

namespace app {

class Form1 {
 public:
  struct Options {
    std::string appDir;  // the application directory; platform::ApplicationDirectory() in the program
  };

  Form1(ui::Backend& backend, Options options);
  ~Form1();

  // The start-up sequence. Every step that fails is skipped without a message.
  void Form_Load();

  ui::Window& form() { return *window_; }
  std::string settingsPath() const;

  void WriteDefaultSettings();
  void ReportUnwritableFolder();
  void LoadSettings();
  void SaveSettings();

  // True while a flash or SRAM job runs the tool.
  bool jobRunning() const { return jobRunning_; }
  sram::Form2* dialog() { return form2_.get(); }

 private:
  void Form_Unload(bool& cancel);
  // A close asked for during a run: offers to stop the tool now.
  void OfferToStop();
  void Form_Activate();
  void VScroll1_Change();
  void Command5_Click();
  void File1_DblClick();

  // Runs job unless one is already running; the job buttons are greyed meanwhile, and a close
  // asked for during the job is carried out when it has ended.
  void RunJob(void (*job)(ui::JobHost&));
  void setJobButtonsEnabled(bool on);

  ui::Backend& backend_;
  std::string appDir_;
  std::unique_ptr<ui::Window> window_;
  std::unique_ptr<sram::Form2> form2_;
  bool jobRunning_ = false;
  bool closeAfterJob_ = false;
  bool runInProgress_ = false;
  bool askingToStop_ = false;
  // Set when the user chose to stop the tool; the runner ends the tool and all it started.
  exec::StopRequest stop_;
  // The settings file was there at start but could not be read: it is the user's, not ours to
  // overwrite with what the controls show.
  bool keepSettingsFile_ = false;
};

}  // namespace app
