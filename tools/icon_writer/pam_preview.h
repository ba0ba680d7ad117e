// A picture as a PAM image (RGB_ALPHA, 8 bits a channel), enlarged by a whole
// factor so it can be looked at; image tools such as ImageMagick read it.
#pragma once

#include <string>

#include "resources/pictures.h"

namespace kalmor {

std::string PamPreview(const PictureBits& picture, int scale);

}  // namespace kalmor
