// Twips to pixels at 96 dpi: 15 twips per pixel, rounded to the nearest pixel.
#include <gtest/gtest.h>

#include "twips.h"

using namespace ordevo::ui;

TEST(Twips, ConvertToNearestPixel) {
    struct Case {
        int twips;
        int pixels;
    };
    const Case cases[] = {
        {0, 0},  {7, 0},   {8, 1},      {15, 1},       {22, 1},
        {23, 2}, {120, 8}, {4095, 273}, {15285, 1019}, {6975, 465},
        {-7, 0}, {-8, -1}, {-120, -8},  {-127, -8},    {-128, -9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TwipsToPixels(c.twips), c.pixels) << c.twips << " twips";
    }
}

TEST(Twips, RectangleConvertsEachValueOnItsOwn) {
    // File1 of the main window: 360, 2160, 4095 × 2010 twips.
    EXPECT_EQ(TwipsRectToPixels(360, 2160, 4095, 2010), QRect(24, 144, 273, 134));
    EXPECT_EQ(TwipsToPixels(QSize(15480, 7920)), QSize(1032, 528));
    EXPECT_NEAR(TwipsToPixelsF(13.155), 0.877, 1e-12);  // one Picture2 unit across
}
