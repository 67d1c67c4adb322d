#include "library/framework/CPaintDC.h"
#include "library/ui/NvDialog.h"
#include "library/ui/NvDialogHeaderDrawer.h"
#include "tests/data/TestDialogIds.h"
#include "tests/library/framework/ScriptedDialog.h"
#include "tests/library/ui/ClientPixels.h"
#include "tests/library/ui/TestPicture.h"

#include <algorithm>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace
{
const COLORREF Band = RGB(254, 254, 254);
const COLORREF Line = RGB(128, 128, 128);
const COLORREF PictureRed = RGB(255, 0, 0);
const int PictureWidth = TestPictureWidth;
const int PictureHeight = TestPictureHeight;

// Paints its header, as high as the hidden placeholder, from WM_PAINT.
class HeaderDialog : public ScriptedDialog<NvDialog>
{
public:
    HeaderDialog(std::string text, bool withPicture, bool initialised = true)
        : ScriptedDialog(IDD_TEST_DIALOG), m_text(std::move(text)), m_withPicture(withPicture),
          m_initialised(initialised)
    {
    }

    int bandHeight = 0;

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = ScriptedDialog::OnInitDialog();
        RECT placeholder;
        GetDlgItem(IDC_TEST_PLACEHOLDER)->GetWindowRect(&placeholder);
        bandHeight = placeholder.bottom - placeholder.top;
        if (m_initialised)
        {
            UniqueBitmap picture = m_withPicture ? MakeTestPicture() : UniqueBitmap();
            m_header.Init(this, bandHeight, std::wstring(m_text.begin(), m_text.end()), picture.Get(),
                          RGB(255, 255, 255));
        }
        return result;
    }

    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_PAINT)
        {
            CPaintDC dc(this);
            m_header.Draw(&dc);
            *result = 0;
            return TRUE;
        }
        return ScriptedDialog::MessageMap(message, wParam, lParam, result);
    }

private:
    NvDialogHeaderDrawer m_header;
    std::string m_text;
    bool m_withPicture;
    bool m_initialised;
};

// Runs the dialog and reads its client area once it is painted.
std::unique_ptr<ClientPixels> Paint(HeaderDialog& dialog)
{
    std::unique_ptr<ClientPixels> pixels;
    dialog.Then([&] {
        pixels = std::make_unique<ClientPixels>(dialog.m_hWnd);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    return pixels;
}

std::string LongText()
{
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "ab ";
    return text;
}

// Rightmost column, left of `limit`, holding anything but the band colour in
// the rows of the text area; -1 when there is none.
int RightmostInk(const ClientPixels& pixels, int bandHeight, int limit)
{
    int rightmost = -1;
    for (int y = 10; y < bandHeight - 10; ++y)
    {
        for (int x = 0; x < limit; ++x)
        {
            if (pixels.At(x, y) != Band)
                rightmost = std::max(rightmost, x);
        }
    }
    return rightmost;
}

TEST(HeaderBand, IsAlmostWhiteFromTheTopAsHighAsGiven)
{
    HeaderDialog dialog("", false);
    auto pixels = Paint(dialog);
    ASSERT_TRUE(pixels);
    int right = pixels->Width() - 1;
    int height = dialog.bandHeight;
    ASSERT_GT(height, 40);
    EXPECT_EQ(Band, pixels->At(0, 0));
    EXPECT_EQ(Band, pixels->At(right, 0));
    EXPECT_EQ(Band, pixels->At(0, height - 1));
    EXPECT_EQ(Band, pixels->At(right, height - 1));
    EXPECT_NE(Band, pixels->At(0, height));
    EXPECT_NE(Band, pixels->At(right, height));
}

TEST(HeaderBand, GreyLineRunsTwoPixelsAboveItsBottomToTheLastButOnePixel)
{
    HeaderDialog dialog("", false);
    auto pixels = Paint(dialog);
    ASSERT_TRUE(pixels);
    int width = pixels->Width();
    int lineY = dialog.bandHeight - 2;
    EXPECT_EQ(width - 1, pixels->Count(RECT{0, lineY, width, lineY + 1}, Line));
    EXPECT_EQ(Band, pixels->At(width - 1, lineY));
    EXPECT_EQ(0, pixels->Count(RECT{0, lineY - 1, width, lineY}, Line));
    EXPECT_EQ(0, pixels->Count(RECT{0, lineY + 1, width, lineY + 2}, Line));
}

TEST(HeaderBand, PictureSitsTenPixelsFromTheRightWithItsWhiteTransparent)
{
    HeaderDialog dialog("", true);
    auto pixels = Paint(dialog);
    ASSERT_TRUE(pixels);
    int left = pixels->Width() - PictureWidth - 10;
    int top = (dialog.bandHeight - PictureHeight) / 2;
    RECT red = {left + TestPictureInsetX, top + TestPictureInsetY, left + PictureWidth - TestPictureInsetX,
                top + PictureHeight - TestPictureInsetY};
    EXPECT_EQ((red.right - red.left) * (red.bottom - red.top), pixels->Count(red, PictureRed));
    RECT picture = {left, top, left + PictureWidth, top + PictureHeight};
    EXPECT_EQ(PictureWidth * PictureHeight - (red.right - red.left) * (red.bottom - red.top),
              pixels->Count(picture, Band));
    EXPECT_EQ(0, pixels->Count(RECT{0, 0, pixels->Width(), dialog.bandHeight}, RGB(255, 255, 255)));
}

TEST(HeaderBand, TextEndsSeventyNinePixelsBeforeTheRightEdgeBesideThePicture)
{
    HeaderDialog dialog(LongText(), true);
    auto pixels = Paint(dialog);
    ASSERT_TRUE(pixels);
    int textEnd = pixels->Width() - 79;
    int pictureLeft = pixels->Width() - PictureWidth - 10;
    int rightmost = RightmostInk(*pixels, dialog.bandHeight, pictureLeft);
    EXPECT_LT(rightmost, textEnd);
    EXPECT_GT(rightmost, textEnd - 25);
    EXPECT_NE(Band, pixels->At(10, 10));
    EXPECT_EQ(Band, pixels->At(9, 10));
    EXPECT_EQ(Band, pixels->At(10, 9));
}

TEST(HeaderBand, WithoutPictureTheTextRunsToTheMargin)
{
    HeaderDialog dialog(LongText(), false);
    auto pixels = Paint(dialog);
    ASSERT_TRUE(pixels);
    int textEnd = pixels->Width() - 10;
    int rightmost = RightmostInk(*pixels, dialog.bandHeight, pixels->Width());
    EXPECT_LT(rightmost, textEnd);
    EXPECT_GT(rightmost, textEnd - 25);
}

TEST(HeaderBand, DrawerWithoutOwnerPaintsNothing)
{
    HeaderDialog dialog(LongText(), true, false);
    auto pixels = Paint(dialog);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(0, pixels->Count(RECT{0, 0, pixels->Width(), dialog.bandHeight}, Band));
}
} // namespace
