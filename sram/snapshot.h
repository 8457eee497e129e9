// The copies of a slot's save that are kept before anything is written to the slot, and the
// comparison that tells whether a slot holds the file sent to it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace sram {

// The folder of the application directory that holds the copies. The program never removes
// anything from it.
inline constexpr std::string_view kSnapshotFolder = "saves";

// "slot<slot>-<YYYYMMDD-HHMMSS>.srm"; with n of 2 or more, "-<n>" before ".srm".
std::string SnapshotFileName(std::string_view slot, const platform::LocalTime& time, int n = 1);

// A path in appDir's snapshot folder (made when it is missing) for a copy of slot made at
// time: the first name of SnapshotFileName that nothing has yet. nullopt when the folder
// cannot be made.
std::optional<std::string> NewSnapshotPath(std::string_view appDir, std::string_view slot,
                                           const platform::LocalTime& time);

// How many of the bytes sent are not what the slot holds at their place: the tool writes a
// file's bytes from the slot's start and leaves the rest of the slot as it was, so only the
// file's length is compared, and a slot read back shorter lacks the bytes past its end.
std::size_t DifferingBytes(std::string_view sent, std::string_view slot);

}  // namespace sram
