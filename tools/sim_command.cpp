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

Command Invalid(std::string message) {
  Command command;
  command.kind = Command::Kind::Invalid;
  command.error = std::move(message);
  return command;
}

// "--port=0x" and one to four hex digits: the parallel port's base address.
bool ParsePort(std::string_view arg, std::string& digits, std::string& error) {
  if (!StartsWith(arg, "--port=")) {
    error = "expected --port=0x<address>, got \"" + std::string(arg) + "\"";
    return false;
  }
  std::string_view value = arg.substr(7);
  const bool wellFormed = StartsWith(value, "0x") && value.size() >= 3 && value.size() <= 6 &&
                          std::all_of(value.begin() + 2, value.end(), IsHexDigit);
  if (!wellFormed) {
    error = "bad port \"" + std::string(value) + "\": expected 0x and 1 to 4 hex digits";
    return false;
  }
  digits = std::string(value.substr(2));
  return true;
}

bool IsRomFlag(std::string_view arg) {
  return arg == "--1991" || arg == "--chk" || arg == "--gen" || arg == "--pad";
}

Command ParseFlash(const std::vector<std::string>& args) {
  if (args.size() < 3) return {};
  Command command;
  if (!ParsePort(args[2], command.port, command.error)) return Invalid(command.error);
  for (std::size_t i = 3; i < args.size(); ++i) {
    if (!IsRomFlag(args[i])) return Invalid("unknown option \"" + args[i] + "\"");
    command.flags.push_back(args[i]);
  }
  command.kind = Command::Kind::Flash;
  command.file = args[1];
  return command;
}

Command ParseMultiBuild(const std::vector<std::string>& args) {
  // -q --multi=N LOADER ROM... OUTPUT -o=DIR: at least one ROM.
  if (args.size() < 6 || !StartsWith(args.back(), "-o=")) return {};
  const std::string size = args[1].substr(8);
  if (size != "32" && size != "64") return Invalid("bad size \"" + size + "\": 32 or 64 Mbit");
  Command command;
  command.kind = Command::Kind::MultiBuild;
  command.sizeMbit = size == "32" ? 32 : 64;
  command.loader = args[2];
  command.roms.assign(args.begin() + 3, args.end() - 2);
  command.output = args[args.size() - 2];
  command.outDir = args.back().substr(3);
  return command;
}

Command ParseSram(const std::vector<std::string>& args) {
  if (args.size() != 4 || !StartsWith(args[3], "-o=")) return {};
  const std::string slotText = args[0].substr(7);
  const bool digitsOnly =
      !slotText.empty() && slotText.size() <= 3 &&
      std::all_of(slotText.begin(), slotText.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int slot = digitsOnly ? std::stoi(slotText) : 0;
  if (slot < 1 || slot > 4) {
    return Invalid("SRAM slot \"" + slotText + "\" does not exist: the slots are 1 to 4");
  }
  Command command;
  if (!ParsePort(args[1], command.port, command.error)) return Invalid(command.error);
  command.kind = Command::Kind::Sram;
  command.slot = slot;
  command.file = args[2];
  command.outDir = args[3].substr(3);
  return command;
}

}  // namespace

const char* const kUsage =
    "usage:\n"
    "  ucon64 --xmd FILE --port=0xPORT [--1991] [--chk] [--gen] [--pad]\n"
    "      write FILE to the flash cartridge, or read the cartridge into FILE when it is missing\n"
    "  ucon64 -q --multi=32|64 multigam.bin ROM... TEMP.BIN -o=DIR\n"
    "      build a multi-game image DIR/TEMP.BIN from the loader and the ROMs\n"
    "  ucon64 --xmdb=SLOT --port=0xPORT FILE -o=DIR\n"
    "      write DIR/FILE to SRAM slot 1 to 4, or save the slot into DIR/FILE when it is missing\n";

Command ParseCommand(const std::vector<std::string>& args) {
  if (args.empty()) return {};
  if (args[0] == "--xmd") return ParseFlash(args);
  if (args[0] == "-q" && args.size() > 1 && StartsWith(args[1], "--multi=")) {
    return ParseMultiBuild(args);
  }
  if (StartsWith(args[0], "--xmdb=")) return ParseSram(args);
  return {};
}

}  // namespace sim
