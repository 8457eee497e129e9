// How the C runtime of a Windows program splits the command line it was started with into its
// arguments: the reference the Windows line written for the tool is checked against.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// The runtimes differ in one case only: two double quotes inside a quoted part give one
// literal quote; the older runtime ends the quoted part there, the newer one stays in it.
enum class CrtRuntime { kOlder, kNewer };

// The arguments of line, program name first. The program name runs to the first blank or tab
// outside double quotes, which only group; in the other arguments, 2n backslashes before a
// double quote give n backslashes and the quote groups, 2n+1 give n backslashes and a literal
// quote, and backslashes before anything else stand as they are.
std::vector<std::string> SplitLikeCrt(std::string_view line, CrtRuntime runtime);

}  // namespace testing_support
