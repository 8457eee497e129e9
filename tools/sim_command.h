// The command lines the cartridge simulator understands, read the way the tool reads them:
// options may stand anywhere among the file arguments. Actions (--xmd, --xmdb=N, --multi=N,
// --1991, --pad, --chk) say what the run does; switches (--port=P, --gen, -q, -o=DIR) apply
// wherever they stand. Only the first action runs: --xmd and --xmdb end the tool's option
// processing, so actions after them never take effect, and of the ROM fixes only one is made
// per run. The actions that do not run are kept so that the run can say so.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Command {
  enum class Kind {
    Usage,       // no action, or the wrong number of file arguments for it
    Invalid,     // a bad value (slot, size), no port, or an unknown option; error says which
    Flash,       // --xmd FILE: write FILE to the cartridge, or read the cartridge into it
    MultiBuild,  // --multi=32|64 LOADER ROM... OUTPUT: build a multi-game image
    Sram,        // --xmdb=N FILE: write FILE to SRAM slot N, or save the slot into it
    Fix,         // --1991 | --pad | --chk ROM: write a modified copy of ROM
  };
  Kind kind = Kind::Usage;
  std::string error;
  int exitCode = 2;                // Invalid: 1 for a missing port (a port failure), else 2
  std::string action;              // the action that runs, as given ("--xmd", "--xmdb=2", ...)
  std::vector<std::string> notRun; // later actions, as given, in order
  // --port=: read as the tool reads it, the hexadecimal number its text starts with (after
  // blanks and one "0x"); text that starts with none, "0x0x378" too, is port 0.
  std::optional<unsigned> port;
  bool genesis = false;            // --gen
  bool quiet = false;              // -q
  std::optional<std::string> outDir;  // the "-o=" folder
  std::string file;                // Flash, Sram, Fix: the one file argument
  int sizeMbit = 0;                // MultiBuild: 32 or 64
  std::string loader;              // MultiBuild
  std::vector<std::string> roms;   // MultiBuild
  std::string output;              // MultiBuild: the image's file name
  int slot = 0;                    // Sram: 1 to 4
};

// args: the arguments after the program name.
Command ParseCommand(const std::vector<std::string>& args);
// The port number of a --port= value, as above, kept to 16 bits.
unsigned PortNumber(std::string_view value);

extern const char* const kUsage;

}  // namespace sim
