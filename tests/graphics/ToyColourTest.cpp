// The picture library's pixel value: byte conversion, luminance, products and blending.
#include "graphics/ToyColour.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ToyColour, ByteRuleTruncatesAndWrapsThroughSixteenBits)
{
    struct Case
    {
        const char* what;
        float value;
        int byte;
    };
    const Case cases[] = {
        {"zero", 0.0f, 0},
        {"one", 1.0f, 255},
        {"half truncates down", 0.5f, 127},
        {"just below a step", 0.999f, 254},
        {"above one wraps to the low byte (382)", 1.5f, 126},
        {"negative wraps (-25)", -0.1f, 231},
        {"far out of range stays defined", 1.0e9f, 255},
        {"NaN gives zero", std::nanf(""), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToyColour::toByte(c.value), c.byte) << c.what;
}

TEST(ToyColour, ConstructorsScaleBytesAndSetKind)
{
    const ToyColour colour(std::uint8_t(255), std::uint8_t(51), std::uint8_t(0), std::uint8_t(255));
    EXPECT_EQ(colour.getKind(), ToyColour::kColour);
    EXPECT_FLOAT_EQ(colour.getGreen(), 0.2f);
    EXPECT_EQ(colour.getRedByte(), 255);

    const ToyColour grey(std::uint8_t(51), std::uint8_t(255));
    EXPECT_EQ(grey.getKind(), ToyColour::kGrey);
    EXPECT_FLOAT_EQ(grey.getGrey(), 0.2f);
    EXPECT_FLOAT_EQ(grey.getRed(), 0.2f);
    EXPECT_FLOAT_EQ(grey.getBlue(), 0.2f);

    ToyColour changed = colour;
    changed.setGrey(0.6f);
    EXPECT_EQ(changed.getKind(), ToyColour::kColour) << "setGrey keeps the kind";
    EXPECT_FLOAT_EQ(changed.getRed(), 0.6f);
    EXPECT_FLOAT_EQ(changed.getGreen(), 0.6f);
}

TEST(ToyColour, LuminanceOfColourAndTransparentColour)
{
    EXPECT_FLOAT_EQ(ToyColour(1.0f, 0.0f, 0.0f, 1.0f).getGrey(), 0.3f);
    EXPECT_FLOAT_EQ(ToyColour(0.0f, 1.0f, 0.0f, 1.0f).getGrey(), 0.59f);
    EXPECT_FLOAT_EQ(ToyColour(0.0f, 0.0f, 1.0f, 0.5f).getGrey(), 0.11f);
    EXPECT_FLOAT_EQ(ToyColour(0.2f, 0.3f, 0.4f, 0.0f).getGrey(), 1.0f) << "fully transparent reads as white";
    EXPECT_EQ(ToyColour(1.0f, 0.0f, 0.0f, 1.0f).getGreyByte(), 76);
}

TEST(ToyColour, ProductsFollowTheKinds)
{
    const ToyColour scaled = ToyColour(0.8f, 0.4f, 0.2f, 1.0f) * 0.5f;
    EXPECT_FLOAT_EQ(scaled.getRed(), 0.4f);
    EXPECT_FLOAT_EQ(scaled.getBlue(), 0.1f);
    EXPECT_FLOAT_EQ(scaled.getAlpha(), 0.5f) << "a factor darkens alpha too";

    const ToyColour colourTimesColour = ToyColour(0.8f, 0.4f, 0.2f, 0.5f) * ToyColour(0.5f, 0.5f, 1.0f, 0.5f);
    EXPECT_EQ(colourTimesColour.getKind(), ToyColour::kColour);
    EXPECT_FLOAT_EQ(colourTimesColour.getRed(), 0.4f);
    EXPECT_FLOAT_EQ(colourTimesColour.getGreen(), 0.2f);
    EXPECT_FLOAT_EQ(colourTimesColour.getBlue(), 0.2f);
    EXPECT_FLOAT_EQ(colourTimesColour.getAlpha(), 0.25f);

    const ToyColour colourTimesGrey = ToyColour(0.8f, 0.4f, 0.2f, 1.0f) * ToyColour(0.5f, 1.0f);
    EXPECT_EQ(colourTimesGrey.getKind(), ToyColour::kColour);
    EXPECT_FLOAT_EQ(colourTimesGrey.getRed(), 0.4f);
    EXPECT_FLOAT_EQ(colourTimesGrey.getBlue(), 0.1f);

    // A grey value multiplies by the other's luminance and stays grey.
    const ToyColour greyTimesColour = ToyColour(0.5f, 1.0f) * ToyColour(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(greyTimesColour.getKind(), ToyColour::kGrey);
    EXPECT_FLOAT_EQ(greyTimesColour.getGrey(), 0.15f);
    EXPECT_FLOAT_EQ(greyTimesColour.getRed(), 0.15f);
}

TEST(ToyColour, BlendingIsOverOnStraightAlpha)
{
    const ToyColour opaqueRed(1.0f, 0.0f, 0.0f, 1.0f);
    const ToyColour halfGrey(0.5f, 0.5f);

    const ToyColour overRed(opaqueRed, halfGrey, 1.0f);
    EXPECT_EQ(overRed.getKind(), ToyColour::kColour);
    EXPECT_FLOAT_EQ(overRed.getAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(overRed.getRed(), 0.75f);
    EXPECT_FLOAT_EQ(overRed.getGreen(), 0.25f);

    const ToyColour greyOnGrey(ToyColour(0.0f, 1.0f), ToyColour(1.0f, 1.0f), 0.25f);
    EXPECT_EQ(greyOnGrey.getKind(), ToyColour::kGrey);
    EXPECT_FLOAT_EQ(greyOnGrey.getGrey(), 0.25f);
    EXPECT_FLOAT_EQ(greyOnGrey.getRed(), 0.25f);

    // Nothing under and nothing over: defined as transparent black, not NaN.
    const ToyColour nothing(ToyColour(0.3f, 0.0f), ToyColour(0.7f, 0.0f), 1.0f);
    EXPECT_EQ(nothing.getAlpha(), 0.0f);
    EXPECT_EQ(nothing.getGrey(), 0.0f);
}
