#pragma once

namespace modKestralMGA {

// The batch program's exit statuses.
inline constexpr int kExitDone = 0;           // done; for compare, every join was acceptable
inline constexpr int kExitNotAcceptable = 1;  // compare done, at least one join not acceptable
inline constexpr int kExitFailed = 2;         // the command could not produce its result

}  // namespace modKestralMGA
