// The failures of a tool run whose cause the program can tell from what the tool printed or
// how the system ended it, each with what the user can do about it. A failure that matches
// none gets no guess.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace exec {

// The line the program adds after a failed run: the remedy for the first cause found in the
// run's output, or for the exit status the system ended it with (Windows keeps an exception's
// status as the exit code); nullopt when the cause is not one the program knows.
std::optional<std::string_view> RemedyFor(std::string_view output,
                                          std::optional<std::uint32_t> exitStatus);

}  // namespace exec
