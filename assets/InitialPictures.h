// Where the initial pictures of the main window lie in the program's resources.
#pragma once

namespace InitialPicture {
extern const char* const Blank;    // pale blank of the two face-up places
extern const char* const FanRight; // fan of backs, top card at the right
extern const char* const FanLeft;  // the same fan mirrored
} // namespace InitialPicture
