#include "app/form1.h"

#include <exception>
#include <string>

#include "app/form1_layout.h"
#include "app/shell.h"
#include "config/settings.h"
#include "config/tool_config.h"
#include "exec/process.h"
#include "flash/flash_job.h"
#include "flash/flash_list.h"
#include "platform/codepage.h"
#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "platform/job_lock.h"
#include "platform/path_text.h"
#include "sram/form2.h"
#include "sram/sram_job.h"
#include "ui/file_browser.h"
#include "ui/job_run.h"

namespace app {

namespace {

constexpr const char* kJobButtons[] = {"Command1", "Command2", "Command3", "Command4",
                                       "Command5"};
constexpr const char* kOptionBoxes[] = {"Check1", "Check2", "Check3", "Check4"};

// The start-up sequence goes on past any step that fails, without a message.
template <class Step>
void ResumeNext(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

// The controls the settings file carries, as they stand.
config::SettingsValues OptionControls(ui::Window& w) {
  config::SettingsValues values;
  for (int i = 0; i < 4; ++i) values.check[i] = w.get<ui::CheckBox>(kOptionBoxes[i]).value();
  values.port = w.get<ui::TextBox>("Text2").text();
  values.option64 = w.get<ui::OptionButton>("Option1").value();
  values.option32 = w.get<ui::OptionButton>("Option2").value();
  return values;
}

}  // namespace

Form1::Form1(ui::Backend& backend, Options options)
    : backend_(backend), appDir_(std::move(options.appDir)) {
  window_ = backend_.createWindow(Form1Spec());
  ui::Window& w = *window_;

  ui::ConnectFileBrowser(w);
  w.on("File1", ui::Event::Click, [&w] { flash::File1_Click(w); });
  w.on("File1", ui::Event::DblClick, [this] { File1_DblClick(); });
  w.on("VScroll1", ui::Event::Change, [this] { VScroll1_Change(); });
  w.on("Label9", ui::Event::Click, [] { OpenInBrowser(kMakerPage); });
  w.on("Label10", ui::Event::Click, [] { OpenInBrowser(kCartridgeMakerPage); });
  w.on("Label12", ui::Event::Click, [] { OpenInBrowser(kManualPage); });
  w.on("Command1", ui::Event::Click, [this, &w] {
    if (!jobRunning_) flash::AddToList(w);
  });
  w.on("Command2", ui::Event::Click, [this, &w] {
    if (!jobRunning_) flash::RemoveItem(w);
  });
  w.on("Command3", ui::Event::Click, [this, &w] {
    if (!jobRunning_) flash::EraseList(w);
  });
  w.on("Command4", ui::Event::Click, [this] { RunJob(&flash::Command4_Click); });
  w.on("Command5", ui::Event::Click, [this] { Command5_Click(); });
  w.onActivate([this] { Form_Activate(); });
  w.onUnload([this](bool& cancel) { Form_Unload(cancel); });
}

Form1::~Form1() = default;

void Form1::Form_Load() {
  ui::Window& w = *window_;
  ResumeNext([&] { platform::ChangeDirectory(appDir_); });
  ResumeNext([&] {
    // Another window on this folder may be running a job with these files right now.
    const platform::JobLock lock(appDir_);
    if (lock.state() == platform::JobLock::State::Held) flash::RemoveJobLeftovers(appDir_);
  });
  ResumeNext([&] { config::SetToolEnvironment(appDir_); });
  ResumeNext([&] {
    if (const std::optional<std::string> problem = config::ToolConfigProblem(appDir_)) {
      ui::SayLine(*window_, *problem);
      return;
    }
    config::WriteToolConfig(appDir_);
  });
  ResumeNext([&] {
    if (!platform::FileExists(settingsPath())) WriteDefaultSettings();
  });
  ResumeNext([&] { ReportUnwritableFolder(); });
  ResumeNext([&] { w.show(); });
  ResumeNext([&] { backend_.processPendingEvents(); });
  ResumeNext([&] { LoadSettings(); });
  ResumeNext([&] { VScroll1_Change(); });
  ResumeNext([&] { w.setFocus(); });
}

void Form1::Form_Unload(bool& cancel) {
  // Closing during a job starts no further run of it: the window closes once the run in
  // progress has ended, or at once when the user chooses to stop the tool. The settings are
  // saved now as well, in case the system ends the program before that (logoff).
  if (jobRunning_) {
    SaveSettings();
    closeAfterJob_ = true;
    cancel = true;
    if (runInProgress_) OfferToStop();
    return;
  }
  SaveSettings();
  platform::ChangeDirectory(appDir_);
  // The program ends with its last window; a dialog left open would keep it running.
  if (form2_ && form2_->loaded()) form2_->window().unload();
}

void Form1::OfferToStop() {
  if (askingToStop_ || stop_.requested()) return;
  askingToStop_ = true;
  const bool stop = backend_.askYesNo(
      "The tool is still running. Stop it now?\n\n"
      "A flash stopped midway leaves the cartridge partly written: flash it again. A save "
      "transfer stopped midway may leave the slot or the file incomplete.\n\n"
      "No: the window closes when the tool has finished.",
      "Stop the tool?");
  askingToStop_ = false;
  // The run may have ended while the question was open; a stop then reaches no tool.
  if (stop && runInProgress_) stop_.request();
}

void Form1::Form_Activate() {
  if (sram::TransferPending(*window_)) RunJob(&sram::RunPendingTransfer);
}

void Form1::VScroll1_Change() {
  const int slot = window_->get<ui::ScrollBar>("VScroll1").value() + 1;
  window_->get<ui::Captioned>("Label7").setCaption(std::to_string(slot));
}

void Form1::Command5_Click() {
  if (jobRunning_) return;
  if (!form2_ || !form2_->loaded()) form2_ = std::make_unique<sram::Form2>(backend_, *window_);
  form2_->show();
}

void Form1::File1_DblClick() {
  if (!jobRunning_) flash::AddToList(*window_);
}

void Form1::RunJob(void (*job)(ui::JobHost&)) {
  if (jobRunning_) return;
  // Held for the job's whole length: a second window on this folder would write over this
  // job's image, scratch copies and tool configuration.
  const platform::JobLock lock(appDir_);
  if (lock.state() == platform::JobLock::State::Busy) {
    ui::SayLine(*window_, "Another window of the program is running a job from this folder (" +
                              appDir_ + "); nothing was run.");
    sram::DropPendingTransfer(*window_);
    return;
  }
  jobRunning_ = true;
  stop_.clear();
  setJobButtonsEnabled(false);
  ui::JobHost host{*window_, {appDir_, &backend_, &stop_}, closeAfterJob_, runInProgress_};
  job(host);
  jobRunning_ = false;
  setJobButtonsEnabled(true);
  if (closeAfterJob_) {
    closeAfterJob_ = false;
    window_->unload();
  }
}

void Form1::setJobButtonsEnabled(bool on) {
  for (const char* name : kJobButtons) window_->control(name).setEnabled(on);
}

std::string Form1::settingsPath() const {
  return platform::JoinPath(appDir_, config::kSettingsFileName);
}

void Form1::WriteDefaultSettings() {
  platform::ReplaceFile(settingsPath(), platform::Utf8ToAnsi(config::DefaultSettingsText()));
}

// The settings are saved through their temporary file: when that cannot be made, the user is
// told at once rather than finding the options gone at the next start.
void Form1::ReportUnwritableFolder() {
  std::optional<std::string> reason =
      platform::CannotCreateReason(platform::TemporaryPathFor(settingsPath()));
  if (!reason) return;
  std::string line = config::UnwritableFolderLine(appDir_, *reason);
  ui::SayLine(*window_, line);
}

void Form1::LoadSettings() {
  ui::Window& w = *window_;
  // A file that cannot be read (never written, a directory in its place, no permission, not a
  // regular file) changes nothing. One that is there is then kept as it is at close.
  std::optional<std::string> bytes = platform::ReadWholeFile(settingsPath());
  if (!bytes) {
    keepSettingsFile_ = platform::FileExists(settingsPath());
    return;
  }
  config::SettingsValues values = OptionControls(w);
  config::ApplySettingsText(platform::AnsiToUtf8(*bytes), values);

  for (int i = 0; i < 4; ++i) w.get<ui::CheckBox>(kOptionBoxes[i]).setValue(values.check[i]);
  w.get<ui::TextBox>("Text2").setText(values.port);
  if (values.option64) w.get<ui::OptionButton>("Option1").setValue(true);
  if (values.option32) w.get<ui::OptionButton>("Option2").setValue(true);
}

void Form1::SaveSettings() {
  if (keepSettingsFile_) return;
  config::SettingsValues values = OptionControls(*window_);
  // Written whole to a temporary file and renamed over the old one: a failed write leaves
  // the user's settings as they were.
  platform::ReplaceFile(settingsPath(), platform::Utf8ToAnsi(config::FormatSettings(values)));
}

}  // namespace app
