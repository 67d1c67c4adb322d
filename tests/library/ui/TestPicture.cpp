#include "tests/library/ui/TestPicture.h"

UniqueBitmap MakeTestPicture()
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = TestPictureWidth;
    info.bmiHeader.biHeight = -TestPictureHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return bitmap;
    const int stride = (TestPictureWidth * 3 + 3) & ~3;
    auto* rows = static_cast<BYTE*>(bits);
    for (int y = 0; y < TestPictureHeight; ++y)
    {
        for (int x = 0; x < TestPictureWidth; ++x)
        {
            bool red = x >= TestPictureInsetX && x < TestPictureWidth - TestPictureInsetX && y >= TestPictureInsetY &&
                       y < TestPictureHeight - TestPictureInsetY;
            BYTE* pixel = rows + y * stride + x * 3;
            pixel[0] = red ? 0 : 255;
            pixel[1] = red ? 0 : 255;
            pixel[2] = 255;
        }
    }
    return bitmap;
}
