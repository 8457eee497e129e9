// The failures the program recognises, from the tool's own lines as each release prints them.
#include "exec/remedies.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RemedyFor, EachKnownCauseFromWhatTheToolPrintsAndNothingForTheRest) {
  const std::string rights = "run it with the rights the README names";
  const std::string driver = "the port driver is missing or not started";
  const std::string cartridge = "check the cable, the cartridge's power and the port address";
  struct Row {
    const char* name;
    std::string output;
    std::optional<std::uint32_t> status;
    std::string remedy;  // a piece of it; empty: none
  };
  const Row rows[] = {
      {"iopl, 2.2.1",
       "ERROR: Could not set the I/O privilege level to 3\n"
       "       uCON64 needs root privileges for the requested action\n",
       1, rights},
      {"iopl, 2.0.0",
       "ERROR: Could not set the I/O privilege level to 3\n"
       "       (This program needs root privileges for the requested action)\n",
       1, rights},
      {"ppdev",
       "ERROR: Could not open parallel port device (/dev/parport0)\n"
       "       Check if you have the required privileges\n",
       1, rights},
      {"driver, caught by the tool",
       "ERROR: No (working) I/O port driver. Please see the FAQ, question 4\n", 1, driver},
      {"privileged instruction, ended by Windows", "", 0xC0000096u, driver},
      {"no cartridge, 2.2.1",
       "Send: 32768 Bytes (0.2500 Mb)\n\nERROR: TELVO-MD (flash card) not detected (ID: 0xffff)\n",
       1, cartridge},
      {"no cartridge, 2.0.0", "ERROR: TELVO-MD flash card (programmer) not detected\n", 1,
       cartridge},
      {"the port is taken", "ERROR: Could not get exclusive access to parallel port device\n", 1,
       ""},
      {"a file that cannot be written", "ERROR: Can't open \"x.srm\" for writing\n", 1, ""},
      {"another crash", "", 0xC0000005u, ""},
      {"no exit status", "", std::nullopt, ""},
  };
  for (const Row& row : rows) {
    const auto remedy = exec::RemedyFor(row.output, row.status);
    if (row.remedy.empty()) {
      EXPECT_EQ(remedy, std::nullopt) << row.name;
      continue;
    }
    ASSERT_TRUE(remedy) << row.name;
    EXPECT_NE(remedy->find(row.remedy), std::string_view::npos) << row.name << ": " << *remedy;
  }
}

}  // namespace
