// The cartridge simulator that stands in for ucon64 in development, tests and demonstrations:
// it follows the tool's rules for the command lines the program builds and keeps the cartridge
// as files in the folder UCON64_HOME names, so the whole program can be tried without hardware.
//
// Environment: UCON64_HOME (the cartridge and configuration folder; the current directory when
// unset), TELVO_SIM_KBPS (simulated speed in KiB/s, default 150, 0 = no waiting; a full
// transfer never takes longer than 30 s), TELVO_SIM_LOG (file that records every run, see
// sim_log.h), TELVO_SIM_NO_CARTRIDGE=1 (no cartridge answers: exit 1), TELVO_CARTRIDGE_PORT
// (the port the cartridge answers at, hexadecimal; 378 when unset),
// TELVO_SIM_FAIL_CONFIG_UPDATE=1 (updating an old configuration fails: exit 255),
// TELVO_SIM_NO_ROOT=1 (the port may not be used without root privileges: exit 1),
// TELVO_SIM_PRIVILEGED_INSTRUCTION=1 (the system ends the run at the port, as Windows does
// without the port driver: status 0xC0000096; SIGSEGV on Linux), TELVO_SIM_CORRUPT_WRITE=1 (a
// save sent to a slot lands with every 4096th byte inverted, and the run says nothing).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/sim_cartridge.h"
#include "tools/sim_command.h"
#include "tools/sim_config.h"
#include "tools/sim_files.h"
#include "tools/sim_log.h"
#include "tools/sim_rom_fix.h"

namespace {

constexpr unsigned kDefaultKibPerSecond = 150;

// As the tool's C library does: standard output reaches a pipe a buffer at a time (and a
// terminal a line at a time), standard error at once. So through a pipe an "ERROR:" line
// arrives before the lines printed ahead of it.
class StdConsole : public sim::Console {
 public:
  void out(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
  void err(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
  }
};

unsigned SpeedFromEnvironment() {
  const char* value = std::getenv("TELVO_SIM_KBPS");
  if (value == nullptr || *value == '\0') return kDefaultKibPerSecond;
  char* end = nullptr;
  const unsigned long speed = std::strtoul(value, &end, 10);
  if (*end != '\0' || speed > 1'000'000) return kDefaultKibPerSecond;
  return static_cast<unsigned>(speed);
}

unsigned CartridgePort() {
  const char* value = std::getenv("TELVO_CARTRIDGE_PORT");
  return value == nullptr || *value == '\0' ? sim::kCartridgePort : sim::PortNumber(value);
}

bool Switched(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && std::string(value) == "1";
}

std::string CurrentDirectory() {
  std::error_code ec;
  return sim::NameOf(std::filesystem::current_path(ec));
}

// Why an action after the one that runs has no effect.
std::string NotRunNote(const sim::Command& command, const std::string& action) {
  if (command.kind == sim::Command::Kind::Fix) {
    return "NOTE: " + action + " was not run: only " + command.action +
           ", the first ROM fix, is made in one run\n";
  }
  return "NOTE: " + action + " was not run: options after " + command.action +
         " are not processed\n";
}

}  // namespace

int main(int argc, char** argv) {
  sim::ReadNamesInCommandLineCodePage();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const char* home = std::getenv("UCON64_HOME");
  const std::string cwd = CurrentDirectory();
  const char* log = std::getenv("TELVO_SIM_LOG");
  const bool logging = log != nullptr && *log != '\0';
  const bool logged = logging && sim::AppendLogRecord(log, sim::FormatLogRecord(args, cwd, home));

  StdConsole console;
  const std::string folder = home != nullptr && *home != '\0' ? home : cwd;
  console.out(
      "Telvo cartridge simulator: no hardware is used, the cartridge is a set of files in " +
      folder + (home == nullptr ? " (UCON64_HOME is not set)" : "") + "\n");
  // The banner comes first, whatever the run writes to standard error after it.
  std::fflush(stdout);
  if (logging && !logged)
    console.out("WARNING: cannot append to the run log " + std::string(log) + "\n");

  // An old configuration is updated before anything else, and a failed update ends the run.
  if (const auto failed =
          sim::UpdateConfig(folder, Switched("TELVO_SIM_FAIL_CONFIG_UPDATE"), console)) {
    return *failed;
  }

  const sim::Command command = sim::ParseCommand(args);
  for (const std::string& action : command.notRun) console.err(NotRunNote(command, action));
  const sim::JobOptions options{folder,
                                SpeedFromEnvironment(),
                                Switched("TELVO_SIM_NO_CARTRIDGE"),
                                CartridgePort(),
                                Switched("TELVO_SIM_NO_ROOT"),
                                Switched("TELVO_SIM_PRIVILEGED_INSTRUCTION"),
                                Switched("TELVO_SIM_CORRUPT_WRITE")};
  switch (command.kind) {
    case sim::Command::Kind::Flash:
      return sim::RunFlash(command, options, console);
    case sim::Command::Kind::MultiBuild:
      return sim::RunMultiBuild(command, console);
    case sim::Command::Kind::Sram:
      return sim::RunSram(command, options, console);
    case sim::Command::Kind::Fix:
      return sim::RunFix(command, console);
    case sim::Command::Kind::Invalid:
      console.err("ERROR: " + command.error + "\n");
      return command.exitCode;
    case sim::Command::Kind::Usage:
      break;
  }
  console.err(sim::kUsage);
  return 2;
}
