#include "config/tool_config.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using testing_support::CurrentDirGuard;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string ExpectedConfig(const std::string& dir, const std::string& dllPath) {
  return "version = 211\r\n"
         "backups = 1\r\n"
         "ansi_color = 1\r\n"
         "parport = 378\r\n"
         "discmage_path=" + dllPath + "\r\n"
         "ucon64_configdir=" + dir + "\r\n"
         "ucon64_datdir=" + dir + "\r\n"
         "f2afirmware = f2afirm.Hex\r\n"
         "iclientu = iclientu.bin\r\n"
         "iclientp = iclientp.bin\r\n"
         "ilogo = ilogo.bin\r\n"
         "gbaloader = loader.bin\r\n";
}

TEST(ToolConfig, ExactText) {
  struct Row {
    std::string dir;
    std::string dllPath;
  };
  // Spaces go in unquoted; a root is not normalised, so its separator doubles.
  const Row rows[] = {
#ifdef _WIN32
      {"C:\\Tools\\Telvo Flash", "C:\\Tools\\Telvo Flash\\discmage.dll"},
      {"c:\\", "c:\\\\discmage.dll"},
#else
      {"/opt/Telvo Flash", "/opt/Telvo Flash/discmage.dll"},
      {"/", "//discmage.dll"},
#endif
      {"Fl\xC3\xA4sh", std::string("Fl\xC3\xA4sh") + kSeparator + "discmage.dll"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(config::ToolConfigText(row.dir), ExpectedConfig(row.dir, row.dllPath)) << row.dir;
  }
}

TEST(ToolConfig, WriteReplacesWhateverWasThereInTheCurrentDirectory) {
  const char* before[] = {nullptr, "", "version = 1\r\n", "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\nm\nn\n"};
  for (const char* old : before) {
    TempDir dir;
    CurrentDirGuard restore;
    fs::current_path(dir.path());
    if (old) WriteBytes(dir.file(".ucon64rc"), old);

    ASSERT_TRUE(config::WriteToolConfig("Telvo Flash"));
    EXPECT_EQ(ReadBytes(dir.file(".ucon64rc")),
              ExpectedConfig("Telvo Flash", std::string("Telvo Flash") + kSeparator + "discmage.dll"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  }
}

TEST(ToolConfig, UnwritableLocationLeavesTheOldFile) {
  TempDir dir;
  CurrentDirGuard restore;
  fs::current_path(dir.path());
  fs::create_directory(dir.file(".ucon64rc"));
  WriteBytes(dir.file(".ucon64rc/inside"), "hand edited\r\n");

  EXPECT_FALSE(config::WriteToolConfig("/opt/telvo"));
  EXPECT_EQ(ReadBytes(dir.file(".ucon64rc/inside")), "hand edited\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A line break in the folder's name would end a line of the file and start a setting of the
// name's own; such a folder is not written into the file at all.
TEST(ToolConfig, AFolderNameWithALineBreakIsNeverWritten) {
  for (const char* dir : {"/opt/app\nucon64_datdir=X", "/opt/app\rX", "/opt/a\r\nb"}) {
    TempDir folder;
    CurrentDirGuard restore;
    fs::current_path(folder.path());
    WriteBytes(folder.file(".ucon64rc"), "the earlier file\r\n");
    EXPECT_TRUE(config::ToolConfigProblem(dir).has_value());
    EXPECT_FALSE(config::WriteToolConfig(dir));
    EXPECT_EQ(ReadBytes(folder.file(".ucon64rc")), "the earlier file\r\n");
  }
  EXPECT_FALSE(config::ToolConfigProblem("/opt/Telvo Flash").has_value());
}

}  // namespace
