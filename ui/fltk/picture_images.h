// The window's pictures as FLTK images.
#pragma once

#include <vector>

#include "resources/pictures.h"
#include "testbench/controls.h"

class Fl_RGB_Image;

namespace kalmor {

// The picture's pixels as FLTK wants them: R, G, B, A bytes, row by row,
// each row followed by rightMargin transparent pixels.
std::vector<unsigned char> RgbaBytes(const PictureBits& bits, int rightMargin = 0);

// One image per picture and drawn size (kDrawnSizes) for the life of the
// program; null for Picture::None.
Fl_RGB_Image* PictureImage(Picture picture, int size);
// The same with room on its right, to keep a button's caption off its picture.
Fl_RGB_Image* ButtonPictureImage(Picture picture, int size);

}  // namespace kalmor
