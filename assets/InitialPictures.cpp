#include "InitialPictures.h"

namespace InitialPicture {
const char* const Blank = ":/assets/blank.jpg";
const char* const FanRight = ":/assets/fan_right.jpg";
const char* const FanLeft = ":/assets/fan_left.jpg";
} // namespace InitialPicture
