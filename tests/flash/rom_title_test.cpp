// The title box after a file selection, from the 48 bytes at offset 336 of the file.
#include <gtest/gtest.h>

#include "flash/rom_title.h"

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include "support/test_support.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;

std::string Header(std::string_view field, size_t size = 512) {
  std::string bytes(size, 'z');
  std::string padded(field);
  padded.resize(48, ' ');
  if (size >= 336) bytes.replace(336, std::min<size_t>(48, size - 336), padded.substr(0, size - 336));
  return bytes;
}

TEST(ReadRomTitle, ReadsTheFortyEightBytesAtOffset336AsTheyStand) {
  const struct {
    const char* what;
    std::string file;
    std::string title;
  } cases[] = {
      {"trailing blanks kept", Header("SPACE RACER"), "SPACE RACER" + std::string(37, ' ')},
      {"exactly the header's size", Header("ABC", 384), "ABC" + std::string(45, ' ')},
      {"shorter: what the field has", Header("HALF", 350), "HALF" + std::string(10, ' ')},
      {"shorter than the offset", std::string(100, 'x'), ""},
      {"empty file", "", ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteBytes(dir.path() / "rom.bin", c.file);
    EXPECT_EQ(flash::ReadRomTitle(dir.file("rom.bin")), c.title) << c.what;
  }
}

TEST(ReadRomTitle, AFileThatCannotBeOpenedGivesNoTitle) {
  TempDir dir;
  EXPECT_EQ(flash::ReadRomTitle(dir.file("missing.bin")), std::nullopt);
}

#ifndef _WIN32
TEST(ReadRomTitle, WhatIsNotARegularFileGivesNoTitleAtOnce) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("pipe.bin").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.path() / "zero.bin");
  std::filesystem::create_directory(dir.path() / "folder.bin");
  for (const char* name : {"pipe.bin", "zero.bin", "folder.bin"}) {
    EXPECT_EQ(flash::ReadRomTitle(dir.file(name)), std::nullopt) << name;
  }
}
#endif

TEST(TitleText, EightBitTitlesAreReadAsWindows1252AndNulIsABlank) {
  const struct {
    std::string field;
    std::string text;
  } cases[] = {
      {"SONIC", "SONIC"},
      {"CAF\xC9 \xDF", "CAF\xC3\x89 \xC3\x9F"},            // É and ß from the 8-bit code page
#ifndef _WIN32
      {"\xC3\x89t\xC3\xA9", "\xC3\x89t\xC3\xA9"},  // Linux's 8-bit text is UTF-8: kept
#endif
      {std::string("A\0B", 3), "A B"},
  };
  for (const auto& c : cases) EXPECT_EQ(flash::TitleText(c.field), c.text);
}

}  // namespace
