// The four pictures drawn from shapes, for every size above the hand-drawn
// 16 x 16 set: the same look, with outlines and details kept a whole pixel or
// more wide at each size instead of enlarged pixels.
#pragma once

#include "resources/pictures.h"

namespace kalmor {

// size x size pixels; Picture::None: std::invalid_argument.
PictureBits DrawnPicture(Picture picture, int size);

}  // namespace kalmor
