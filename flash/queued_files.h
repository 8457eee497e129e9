// The files the flash job hands to the tool, checked when the job starts and again right before
// each run that is given one: the user may move, replace or lock a file while an earlier run
// of the job goes on.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flash {

// The tool writes the multi-game image under this name into the application directory, and
// the flash command names it without a path. Windows would accept it in any letter case; on
// Linux only this spelling names the same file, so every step here uses it.
inline constexpr std::string_view kImage = "TEMP.BIN";

// Why the queued file at path must not go to a run: gone, no regular file, unreadable (the
// build would leave the game out without a word), the image a multi-game job replaces, or
// inside the scratch folder a job empties (the job would delete the user's file). nullopt when
// it may.
std::optional<std::string> QueuedFileProblem(std::string_view path, std::string_view appDir);

// Before a run that is given files, made from the queued roms (files[i] from roms[i]: the ROM
// itself, or a copy of the program's own): why each that must not go to the run may not. Empty
// when all may.
std::vector<std::string> RunProblems(std::string_view appDir, const std::vector<std::string>& roms,
                                     const std::vector<std::string>& files);

}  // namespace flash
