// The copies of a slot's save that are kept before anything is written to the slot, the files
// a slot is read back into, and the comparison that tells whether a slot holds the file sent.
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

// stem + ".srm"; for n of 2 or more, stem + "-<n>.srm".
std::string NumberedName(std::string_view stem, int n);

// The first folder/NumberedName(stem, n), n = 1, 2 ..., that nothing has yet: an existing file
// of that name (a copy kept earlier, a file left by an ended program) would be sent to the
// slot by the tool instead of receiving the slot.
std::string FirstFreePath(std::string_view folder, std::string_view stem);

// "slot<slot>-<YYYYMMDD-HHMMSS>": the name of a copy of slot made at time, without its number.
std::string SnapshotStem(std::string_view slot, const platform::LocalTime& time);

// A path in appDir's snapshot folder (made when it is missing) for a copy of slot made at
// time. nullopt when the folder cannot be made.
std::optional<std::string> NewSnapshotPath(std::string_view appDir, std::string_view slot,
                                           const platform::LocalTime& time);

// How many of the bytes sent are not what the slot holds at their place: the tool writes a
// file's bytes from the slot's start and leaves the rest of the slot as it was, so only the
// file's length is compared, and a slot read back shorter lacks the bytes past its end.
std::size_t DifferingBytes(std::string_view sent, std::string_view slot);

}  // namespace sram
