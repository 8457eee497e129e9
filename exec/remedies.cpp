#include "exec/remedies.h"

#include <array>

namespace exec {
namespace {

constexpr std::string_view kNeedsRights =
    "The tool may not use the parallel port: run it with the rights the README names (as root), "
    "or use a tool built with ppdev and put your user in the lp group.";
constexpr std::string_view kNoPortDriver =
    "Windows stopped the tool at the parallel port: the port driver is missing or not started; "
    "install it beside the tool as the README says and start it.";
constexpr std::string_view kNoCartridge =
    "No cartridge answered: check the cable, the cartridge's power and the port address.";

struct TextRow {
  std::string_view printed;  // a piece of what the tool prints for this cause
  std::string_view remedy;
};

// The pieces, as both releases of the tool print them (the full lines in the comments).
constexpr std::array kTextRows = {
    // Linux, direct port access without root (2.2.1 / 2.0.0):
    //   ERROR: Could not set the I/O privilege level to 3
    //          uCON64 needs root privileges for the requested action
    //          (This program needs root privileges for the requested action)
    TextRow{"needs root privileges for the requested action", kNeedsRights},
    // Linux, a build with ppdev whose user may not open the port (both):
    //   ERROR: Could not open parallel port device (/dev/parport0)
    //          Check if you have the required privileges
    TextRow{"Check if you have the required privileges", kNeedsRights},
    // Windows, the tool caught the privileged instruction itself (both):
    //   ERROR: No (working) I/O port driver. Please see the FAQ, question 4
    TextRow{"ERROR: No (working) I/O port driver", kNoPortDriver},
    // The cartridge did not give a flash chip's ID (2.2.1, every transfer):
    //   ERROR: TELVO-MD (flash card) not detected (ID: 0xffff)
    TextRow{"ERROR: TELVO-MD (flash card) not detected", kNoCartridge},
    // The same in 2.0.0, whose SRAM transfers do not ask the cartridge at all:
    //   ERROR: TELVO-MD flash card (programmer) not detected
    TextRow{"ERROR: TELVO-MD flash card (programmer) not detected", kNoCartridge},
};

// STATUS_PRIVILEGED_INSTRUCTION: Windows ends a program that touches an I/O port when no
// driver has opened the port to it.
constexpr std::uint32_t kPrivilegedInstruction = 0xC0000096;

}  // namespace

std::optional<std::string_view> RemedyFor(std::string_view output,
                                          std::optional<std::uint32_t> exitStatus) {
  if (exitStatus == kPrivilegedInstruction) return kNoPortDriver;
  for (const TextRow& row : kTextRows) {
    if (output.find(row.printed) != std::string_view::npos) return row.remedy;
  }
  return std::nullopt;
}

}  // namespace exec
