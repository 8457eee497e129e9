// The command lines the cartridge simulator understands: the four that the program builds for
// ucon64, after splitting into arguments.
#pragma once

#include <string>
#include <vector>

namespace sim {

struct Command {
  enum class Kind {
    Usage,       // not one of the four command lines
    Invalid,     // one of them, with a bad value (port, slot, size); error says which
    Flash,       // --xmd FILE --port=0xP [flags]
    MultiBuild,  // -q --multi=32|64 LOADER ROM... OUTPUT -o=DIR
    Sram,        // --xmdb=N --port=0xP FILE -o=DIR
  };
  Kind kind = Kind::Usage;
  std::string error;
  std::string file;                // Flash: the image or dump; Sram: the file name
  std::string port;                // the hex digits after "0x"
  std::vector<std::string> flags;  // "--1991", "--chk", "--gen", "--pad" as given
  int sizeMbit = 0;                // MultiBuild: 32 or 64
  std::string loader;              // MultiBuild
  std::vector<std::string> roms;   // MultiBuild
  std::string output;              // MultiBuild: the image's file name
  std::string outDir;              // MultiBuild, Sram: the "-o=" folder
  int slot = 0;                    // Sram: 1 to 4
};

// args: the arguments after the program name.
Command ParseCommand(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace sim
