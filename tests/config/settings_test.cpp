#include "config/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using config::ApplySettingsText;
using config::DefaultSettingsText;
using config::FormatSettings;
using config::SettingsValues;

// What the controls show, written compactly: the four boxes, the port text, and the size
// option as '6' (Option1), '3' (Option2) or '-' (neither).
struct Shown {
  std::string boxes;
  std::string port;
  char size;
};

Shown Describe(const SettingsValues& v) {
  Shown shown;
  for (int box : v.check) shown.boxes += std::to_string(box);
  shown.port = v.port;
  shown.size = v.option64 ? (v.option32 ? '!' : '6') : (v.option32 ? '3' : '-');
  return shown;
}

Shown LoadFromInitial(std::string_view text) {
  SettingsValues values;  // the controls as the main window creates them
  ApplySettingsText(text, values);
  return Describe(values);
}

struct ReadCase {
  const char* name;
  std::string text;
  Shown expected;
};

void ExpectShown(const ReadCase& row) {
  Shown got = LoadFromInitial(row.text);
  EXPECT_EQ(got.boxes, row.expected.boxes) << row.name;
  EXPECT_EQ(got.port, row.expected.port) << row.name;
  EXPECT_EQ(got.size, row.expected.size) << row.name;
}

const std::string kHeader =
    "# Vostrik Software's TELVO Flashing Software Configuration file V1.00\r\n";

// ---- whole files ---------------------------------------------------------------------------

TEST(SettingsRead, WholeFiles) {
  const std::vector<ReadCase> rows = {
      {"default file", DefaultSettingsText(), {"0110", "378", '6'}},
      {"empty file reads as one empty line", "", {"0000", "378", '3'}},
      {"one bare CR LF", "\r\n", {"0000", "378", '3'}},
      {"comment only", kHeader, {"0000", "378", '-'}},
      {"comment only, no terminator", "# just a note", {"0000", "378", '-'}},
      {"several comments", kHeader + "#FixUnl = 1\r\n#TELVO = 1\r\n", {"0000", "378", '-'}},
      {"all set, 32 Mbit",
       kHeader + "FixUnl = 1\r\nFixChk = 1\r\nEnforce = 1\r\nPad = 1\r\nLPT = 3BC\r\nTELVO = 1\r\n",
       {"1111", "3BC", '3'}},
      {"TELVO = 0 followed by a blank line", "TELVO = 0\r\n\r\n", {"0000", "378", '3'}},
      {"TELVO = 0 followed by a comment", "TELVO = 0\r\n# done\r\n", {"0000", "378", '6'}},
      {"TELVO = 0 followed by another key", "TELVO = 0\r\nPad = 0\r\n", {"0000", "378", '3'}},
      {"TELVO = 0 followed by junk", "TELVO = 0\r\nhello\r\n", {"0000", "378", '3'}},
      {"TELVO = 0 last without terminator", "Pad = 1\r\nTELVO = 0", {"0001", "378", '6'}},
  };
  for (const ReadCase& row : rows) ExpectShown(row);
}

// ---- the size option -----------------------------------------------------------------------

TEST(SettingsRead, SizeOption) {
  const std::vector<ReadCase> rows = {
      {"TELVO = 0", "TELVO = 0\r\n", {"0000", "378", '6'}},
      {"TELVO = 1", "TELVO = 1\r\n", {"0000", "378", '3'}},
      {"TELVO = 5", "TELVO = 5\r\n", {"0000", "378", '3'}},
      {"no spaces: value in column 7", "TELVO=0\r\n", {"0000", "378", '3'}},
      {"no spaces but a 0 in column 9", "TELVO=000\r\n", {"0000", "378", '6'}},
      {"lower-case key", "telvo = 0\r\n", {"0000", "378", '3'}},
      {"key after a space", " TELVO = 0\r\n", {"0000", "378", '3'}},
      {"too short for column 9", "TELVO = \r\n", {"0000", "378", '3'}},
      {"comment before", "# x\r\nTELVO = 0\r\n", {"0000", "378", '6'}},
      {"later TELVO line wins", "TELVO = 0\r\nTELVO = 1\r\n", {"0000", "378", '3'}},
      {"later TELVO = 0 wins back", "TELVO = 1\r\nTELVO = 0\r\n", {"0000", "378", '6'}},
  };
  for (const ReadCase& row : rows) ExpectShown(row);
}

// ---- check boxes ---------------------------------------------------------------------------

TEST(SettingsRead, CheckBoxes) {
  const std::vector<ReadCase> rows = {
      {"each key", "FixUnl = 1\r\nFixChk = 1\r\nEnforce = 1\r\nPad = 1\r\n", {"1111", "378", '3'}},
      {"zeros leave boxes clear", "FixUnl = 0\r\nFixChk = 0\r\nEnforce = 0\r\nPad = 0\r\n",
       {"0000", "378", '3'}},
      {"a later 0 does not clear", "FixUnl = 1\r\nFixUnl = 0\r\n", {"1000", "378", '3'}},
      {"other values do nothing", "FixUnl = 2\r\nFixChk = yes\r\nPad = 01\r\n",
       {"0000", "378", '3'}},
      {"lower-case key", "fixunl = 1\r\n", {"0000", "378", '3'}},
      {"key after a space", " FixUnl = 1\r\n", {"0000", "378", '3'}},
      {"no spaces around =", "FixUnl=1\r\nEnforce=1\r\nPad=1\r\n", {"0000", "378", '3'}},
      {"only column 10 counts", "FixChkXYZ1\r\n", {"0100", "378", '3'}},
      {"Enforce needs column 11", "Enforce = 0 1\r\n", {"0000", "378", '3'}},
      {"longer key sharing the prefix", "Padxyz1\r\n", {"0001", "378", '3'}},
      {"commented out", "#FixUnl = 1\r\n", {"0000", "378", '-'}},
      {"too short for the value column", "FixUnl = \r\n", {"0000", "378", '3'}},
      {"columns count characters, not bytes", "FixUnl\xC3\xA4\xC3\xA4\xC3\xA4" "1\r\n",
       {"1000", "378", '3'}},
  };
  for (const ReadCase& row : rows) ExpectShown(row);
}

TEST(SettingsRead, ReaderNeverClearsABoxTheControlsAlreadyHold) {
  SettingsValues values;
  values.check[0] = values.check[3] = 1;
  ApplySettingsText("FixUnl = 0\r\nPad = 0\r\n", values);
  EXPECT_EQ(values.check[0], 1);
  EXPECT_EQ(values.check[3], 1);
}

// ---- the port box --------------------------------------------------------------------------

TEST(SettingsRead, Port) {
  const std::vector<ReadCase> rows = {
      {"plain", "LPT = 278\r\n", {"0000", "278", '3'}},
      {"no spaces: from column 7", "LPT=378\r\n", {"0000", "8", '3'}},
      {"trailing blanks kept", "LPT = 378   \r\n", {"0000", "378   ", '3'}},
      {"empty value", "LPT = \r\n", {"0000", "", '3'}},
      {"bare key leaves it", "LPT\r\n", {"0000", "378", '3'}},
      {"bare key at end of text", "LPT", {"0000", "378", '3'}},
      {"four characters empty it", "LPT \r\n", {"0000", "", '3'}},
      {"five characters empty it", "LPT =\r\n", {"0000", "", '3'}},
      {"key with text beyond", "LPTX = 3BC\r\n", {"0000", " 3BC", '3'}},
      {"last LPT line wins", "LPT = 278\r\nLPT = 3BC\r\n", {"0000", "3BC", '3'}},
      {"bare key after a value", "LPT = 278\r\nLPT\r\n", {"0000", "278", '3'}},
      {"lower-case key", "lpt = 278\r\n", {"0000", "378", '3'}},
      {"key after a space", " LPT = 278\r\n", {"0000", "378", '3'}},
      {"no check or trimming", "LPT = 3 78 ; x\r\n", {"0000", "3 78 ; x", '3'}},
      {"text after a comment marker is kept", "LPT = 378 # note\r\n",
       {"0000", "378 # note", '3'}},
  };
  for (const ReadCase& row : rows) ExpectShown(row);
}

// ---- line ends -----------------------------------------------------------------------------

TEST(SettingsRead, LineEnds) {
  const std::vector<ReadCase> rows = {
      {"lone CR ends a line", "FixUnl = 1\rFixChk = 1\rTELVO = 0\r", {"1100", "378", '6'}},
      {"lone LF stays inside the line", "FixUnl = 1\nFixChk = 1\r\n", {"1000", "378", '3'}},
      {"lone LF joins TELVO to the previous line", "Pad = 1\nTELVO = 0\r\n",
       {"0001", "378", '3'}},
      {"LF kept in the port text", "LPT = 278\nPad = 1\r\n", {"0000", "278\nPad = 1", '3'}},
      {"LF at the start of the next line", "TELVO = 0\r\n\n", {"0000", "378", '3'}},
      {"CR CR makes an empty second line", "TELVO = 0\r\r", {"0000", "378", '3'}},
      {"CR LF CR LF makes an empty second line", "TELVO = 0\r\n\r\n", {"0000", "378", '3'}},
      {"LF CR: the LF belongs to the line", "TELVO = 0\n\r", {"0000", "378", '6'}},
      {"last line without terminator", "# c\r\nLPT = 278", {"0000", "278", '3'}},
  };
  for (const ReadCase& row : rows) ExpectShown(row);
}

// ---- writing -------------------------------------------------------------------------------

TEST(SettingsWrite, DefaultFileBytes) {
  EXPECT_EQ(DefaultSettingsText(),
            "# Vostrik Software's TELVO Flashing Software Configuration file V1.00\r\n"
            "FixUnl = 0\r\n"
            "FixChk = 1\r\n"
            "Enforce = 1\r\n"
            "Pad = 0\r\n"
            "LPT = 378\r\n"
            "TELVO = 0\r\n");
}

TEST(SettingsWrite, SizeLineFollowsOption2Only) {
  struct Row {
    bool option64, option32;
    const char* line;
  };
  const Row rows[] = {
      {true, false, "TELVO = 0\r\n"},
      {false, true, "TELVO = 1\r\n"},
      {false, false, "TELVO = 0\r\n"},  // after a comment-only file
  };
  for (const Row& row : rows) {
    SettingsValues values;
    values.option64 = row.option64;
    values.option32 = row.option32;
    std::string text = FormatSettings(values);
    EXPECT_TRUE(text.ends_with(std::string("LPT = 378\r\n") + row.line)) << text;
  }
}

TEST(SettingsWrite, EmptiedPortBoxIsSavedAsBareValue) {
  SettingsValues values;
  values.port = "";
  EXPECT_NE(FormatSettings(values).find("\r\nLPT = \r\nTELVO"), std::string::npos);
}

// ---- round trips ---------------------------------------------------------------------------

TEST(SettingsRoundTrip, EveryBoxCombinationPortAndSize) {
  const std::string ports[] = {"378", "", "278", "3BC   ", " 378", "0x378"};
  for (int mask = 0; mask < 16; ++mask) {
    for (const std::string& port : ports) {
      for (bool is32 : {false, true}) {
        SettingsValues saved;
        for (int box = 0; box < 4; ++box) saved.check[box] = (mask >> box) & 1;
        saved.port = port;
        saved.option64 = !is32;
        saved.option32 = is32;

        SettingsValues loaded;  // a new start: the controls' initial values
        ApplySettingsText(FormatSettings(saved), loaded);

        std::string what = "mask " + std::to_string(mask) + " port '" + port + "'";
        for (int box = 0; box < 4; ++box) EXPECT_EQ(loaded.check[box], saved.check[box]) << what;
        EXPECT_EQ(loaded.port, saved.port) << what;
        EXPECT_EQ(loaded.option64, saved.option64) << what;
        EXPECT_EQ(loaded.option32, saved.option32) << what;
      }
    }
  }
}

TEST(SettingsRoundTrip, CommentOnlyFileSavesAndReloadsAs64) {
  SettingsValues values;
  ApplySettingsText(kHeader, values);
  ASSERT_FALSE(values.option64 || values.option32);
  SettingsValues reloaded;
  ApplySettingsText(FormatSettings(values), reloaded);
  EXPECT_TRUE(reloaded.option64);
  EXPECT_FALSE(reloaded.option32);
}

}  // namespace
