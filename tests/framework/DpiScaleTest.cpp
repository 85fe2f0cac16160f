// Scaling of sizes written for 96 DPI.
#include <gtest/gtest.h>

#include <climits>

#include "framework/DpiScale.h"

namespace {

TEST(DpiScale, SizesScaleToTheCommonDpisRoundedToTheNearestPixel) {
    struct Case {
        int Pixels, Dpi, Want;
    } cases[] = {
        {918, 96, 918},   {918, 120, 1148},  {918, 144, 1377}, {918, 168, 1607}, {918, 192, 1836},
        {547, 120, 684},  {547, 144, 821},   {547, 192, 1094}, {33, 144, 50},    {45, 120, 56},
        {1, 144, 2},      {1, 120, 1},       {0, 192, 0},      {50, 72, 38},     {310, 288, 930},
        {-7, 144, -11},   {-1, 144, -2},     {7, 144, 11},
    };
    for (const Case& c : cases) EXPECT_EQ(ScaleToDpi(c.Pixels, c.Dpi), c.Want) << c.Pixels << " at " << c.Dpi;
}

TEST(DpiScale, AFailedDpiQueryLeavesTheSizeAndHugeSizesClamp) {
    EXPECT_EQ(ScaleToDpi(918, 0), 918);
    EXPECT_EQ(ScaleToDpi(918, -144), 918);
    EXPECT_EQ(ScaleToDpi(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(ScaleToDpi(INT_MIN, 192), INT_MIN);
    EXPECT_EQ(ScaleToDpi(INT_MAX, 96), INT_MAX);
    EXPECT_EQ(ScaleToDpi(INT_MAX / 2, 192), INT_MAX - 1);
}

}  // namespace
