// The tool's configuration file ".ucon64rc" and UCON64_HOME, both pointing the tool at the
// application directory. The file is rewritten at every start, so the tool always finds the
// same twelve settings whatever was left there before.
#include "config/tool_config.h"

#include "config/environment.h"
#include "platform/codepage.h"
#include "platform/file_replace.h"
#include "platform/path_text.h"

namespace config {

std::string ToolConfigText(std::string_view appDir) {
  std::string dir(appDir);
  // The lines built from the directory have no blanks around "="; the tool reads them whole,
  // so a directory with spaces goes in as it is, unquoted.
  const std::string lines[] = {
      "version = 211",
      "backups = 1",
      "ansi_color = 1",
      "parport = 378",
      "discmage_path=" + platform::JoinPath(dir, "discmage.dll"),
      "ucon64_configdir=" + dir,
      "ucon64_datdir=" + dir,
      "f2afirmware = f2afirm.Hex",
      "iclientu = iclientu.bin",
      "iclientp = iclientp.bin",
      "ilogo = ilogo.bin",
      "gbaloader = loader.bin",
  };
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

bool SetToolEnvironment(std::string_view appDir) {
  return SetEnvironmentVariable(kToolHomeVariable, appDir);
}

std::optional<std::string> ToolConfigProblem(std::string_view appDir) {
  if (appDir.find_first_of("\r\n") == std::string_view::npos) return std::nullopt;
  return "The tool configuration " + std::string(kToolConfigFileName) +
         " was not written: the name of the program's folder holds a line break, and the tool "
         "cannot be pointed at such a folder. Move the program to a folder without one.";
}

bool WriteToolConfig(std::string_view appDir) {
  if (ToolConfigProblem(appDir)) return false;
  return platform::ReplaceFile(kToolConfigFileName, platform::Utf8ToAnsi(ToolConfigText(appDir)));
}

}  // namespace config
