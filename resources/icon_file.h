// A picture as a Windows icon: the image (BITMAPINFOHEADER, 32-bit BGRA pixels,
// AND mask) that CreateIconFromResourceEx takes, and the .ico file around it
// that a resource script names.
#pragma once

#include <cstdint>
#include <vector>

#include "resources/pictures.h"

namespace kalmor {

// The header's height counts the colour rows and the mask rows, both stored
// bottom row first; the mask marks fully transparent pixels, each mask row
// padded to four bytes.
std::vector<std::uint8_t> IconImageBytes(const PictureBits& picture);

// ICONDIR with one ICONDIRENTRY for each picture, then the images in that order.
std::vector<std::uint8_t> IcoFileBytes(const std::vector<PictureBits>& pictures);

}  // namespace kalmor
