#pragma once

#include "library/framework/WindowHandles.h"

// The header picture of the tests: 49 by 35 pixels, 24 bits per pixel, white
// with a pure red block inset by 10 pixels left and right and 5 above and
// below.
const int TestPictureWidth = 49;
const int TestPictureHeight = 35;
const int TestPictureInsetX = 10;
const int TestPictureInsetY = 5;

UniqueBitmap MakeTestPicture();
