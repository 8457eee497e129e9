#include "tools/sim_command.h"

#include <algorithm>
#include <string_view>

namespace sim {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Command Invalid(std::string message, int exitCode = 2) {
  Command command;
  command.kind = Command::Kind::Invalid;
  command.error = std::move(message);
  command.exitCode = exitCode;
  return command;
}

bool IsAction(std::string_view arg) {
  return arg == "--xmd" || StartsWith(arg, "--xmdb=") || StartsWith(arg, "--multi=") ||
         arg == "--1991" || arg == "--pad" || arg == "--chk";
}

// The action's own value and file arguments, checked once the whole line has been read.
Command Finish(Command command, const std::vector<std::string>& files) {
  const std::string& action = command.action;
  if (action.empty()) return {};
  const bool transfer = action == "--xmd" || StartsWith(action, "--xmdb=");
  if (transfer && !command.port) {
    return Invalid("no parallel port given: --port=0x<address>", 1);
  }
  if (action == "--xmd" || StartsWith(action, "--xmdb=") || action == "--1991" ||
      action == "--pad" || action == "--chk") {
    if (files.size() != 1) return {};
    command.file = files[0];
  }
  if (action == "--xmd") {
    command.kind = Command::Kind::Flash;
    return command;
  }
  if (StartsWith(action, "--xmdb=")) {
    const std::string slotText = action.substr(7);
    const int slot = IsDigits(slotText) && slotText.size() <= 3 ? std::stoi(slotText) : 0;
    if (slot < 1 || slot > 4) {
      return Invalid("SRAM slot \"" + slotText + "\" does not exist: the slots are 1 to 4");
    }
    command.kind = Command::Kind::Sram;
    command.slot = slot;
    return command;
  }
  if (StartsWith(action, "--multi=")) {
    const std::string size = action.substr(8);
    if (size != "32" && size != "64") return Invalid("bad size \"" + size + "\": 32 or 64 Mbit");
    // LOADER ROM... OUTPUT: at least one ROM.
    if (files.size() < 3) return {};
    command.kind = Command::Kind::MultiBuild;
    command.sizeMbit = size == "32" ? 32 : 64;
    command.loader = files.front();
    command.roms.assign(files.begin() + 1, files.end() - 1);
    command.output = files.back();
    return command;
  }
  command.kind = Command::Kind::Fix;
  return command;
}

}  // namespace

const char* const kUsage =
    "usage (options may stand anywhere; only the first action runs):\n"
    "  ucon64 --xmd FILE --port=PORT [--gen]\n"
    "      write FILE to the flash cartridge, or read the cartridge into FILE when it is missing\n"
    "  ucon64 [-q] --multi=32|64 multigam.bin ROM... TEMP.BIN [-o=DIR]\n"
    "      build a multi-game image DIR/TEMP.BIN from the loader and the ROMs\n"
    "  ucon64 --xmdb=SLOT --port=PORT FILE\n"
    "      write FILE to SRAM slot 1 to 4, or save the slot into FILE when it is missing\n"
    "  ucon64 --1991|--pad|--chk ROM [-o=DIR]\n"
    "      write a fixed copy of ROM into DIR (the current directory without -o=)\n";

unsigned PortNumber(std::string_view value) {
  const auto first = value.find_first_not_of(" \t");
  value = first == std::string_view::npos ? std::string_view() : value.substr(first);
  // "0x" counts only when a digit follows, as with the C library's reading of numbers.
  if ((StartsWith(value, "0x") || StartsWith(value, "0X")) && value.size() > 2 &&
      IsHexDigit(value[2])) {
    value.remove_prefix(2);
  }
  unsigned port = 0;
  for (char c : value) {
    if (!IsHexDigit(c)) break;
    const unsigned digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
    port = ((port << 4) | digit) & 0xFFFF;
  }
  return port;
}

Command ParseCommand(const std::vector<std::string>& args) {
  Command command;
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    if (IsAction(arg)) {
      if (command.action.empty()) {
        command.action = arg;
      } else {
        command.notRun.push_back(arg);
      }
      continue;
    }
    if (StartsWith(arg, "--port=")) {
      command.port = PortNumber(std::string_view(arg).substr(7));
    } else if (StartsWith(arg, "-o=")) {
      command.outDir = arg.substr(3);
    } else if (arg == "--gen") {
      command.genesis = true;
    } else if (arg == "-q") {
      command.quiet = true;
    } else if (StartsWith(arg, "-") && arg.size() > 1) {
      return Invalid("unknown option \"" + arg + "\"");
    } else {
      files.push_back(arg);
    }
  }
  return Finish(std::move(command), files);
}

}  // namespace sim
