// Pictures: sampling, resampling, quarter turns, compositing, copies and plane sharing.
#include "graphics/ToyPictureFloatGrey.h"
#include "graphics/ToyPictureGrey.h"
#include "graphics/ToyPictureRGBA.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
// A grey picture from rows of bytes, top row first.
ToyPictureGrey greyFromRows(const std::vector<std::vector<int>>& rows)
{
    ToyPictureGrey picture(static_cast<std::uint32_t>(rows[0].size()), static_cast<std::uint32_t>(rows.size()));
    for (std::uint32_t y = 0; y < rows.size(); ++y)
        for (std::uint32_t x = 0; x < rows[y].size(); ++x)
            picture.setGrey(x, y, static_cast<std::uint8_t>(rows[y][x]));
    return picture;
}

std::vector<std::vector<int>> rowsOf(ToyPictureGrey& picture)
{
    std::vector<std::vector<int>> rows(picture.getHeight(), std::vector<int>(picture.getWidth()));
    for (std::uint32_t y = 0; y < picture.getHeight(); ++y)
        for (std::uint32_t x = 0; x < picture.getWidth(); ++x)
            rows[y][x] = *picture.greyAt(x, y);
    return rows;
}

using Rows = std::vector<std::vector<int>>;
}

TEST(ToyPicture, NewPicturesHoldTheirClearValue)
{
    ToyPictureRGBA rgba(3, 2);
    const ToyColour c = rgba.getColour(2, 1);
    EXPECT_EQ(c.getRedByte(), 0);
    EXPECT_EQ(c.getBlueByte(), 0);
    EXPECT_EQ(c.getAlphaByte(), 255) << "a new colour picture is opaque black";

    ToyPictureGrey grey(0, 4);
    EXPECT_EQ(grey.getWidth(), 1u) << "a zero size becomes 1";
    EXPECT_EQ(grey.getHeight(), 4u);
    EXPECT_EQ(*grey.greyAt(0, 3), 0);

    ToyPictureFloatGrey floats;
    EXPECT_EQ(*floats.greyAt(0, 0), 0.0f);
    EXPECT_EQ(floats.getWidth(), 1u);
}

TEST(ToyPicture, CoordinatesPastTheEdgeUseTheLastColumnAndRow)
{
    ToyPictureGrey picture = greyFromRows({{1, 2}, {3, 4}});
    EXPECT_EQ(*picture.greyAt(7, 0), 2);
    EXPECT_EQ(*picture.greyAt(0, 9), 3);
    picture.setGrey(100, 100, 99);
    EXPECT_EQ(*picture.greyAt(1, 1), 99);
}

TEST(ToyPicture, BilinearSamplesWeighTheFourNeighbours)
{
    ToyPictureGrey picture = greyFromRows({{0, 100, 200, 40}, {0, 100, 200, 40}});
    struct Case
    {
        const char* what;
        float u, v;
        int expected;
    };
    const Case cases[] = {
        {"u = 0 reads column 0", 0.0f, 0.0f, 0},
        {"u = 1 reads the last column exactly", 1.0f, 0.0f, 40},
        {"u = 1, v = 1 reads the last pixel", 1.0f, 1.0f, 40},
        {"a whole position puts all weight on that column", 0.5f, 0.0f, 200},
        {"halfway between columns 0 and 1", 0.125f, 0.0f, 50},
        {"halfway between columns 1 and 2", 0.375f, 0.25f, 150},
        {"u below 0 clamps to 0", -3.0f, 0.0f, 0},
        {"u above 1 clamps to 1", 7.0f, 0.5f, 40},
    };
    for (const Case& c : cases)
        EXPECT_EQ(picture.getGreyBilinear(c.u, c.v), c.expected) << c.what;
}

TEST(ToyPicture, EightBitBilinearNeverExceeds255)
{
    ToyPictureGrey white(5, 3);
    white.clear(255);
    for (float u : {0.0f, 0.13f, 0.37f, 0.5f, 0.71f, 0.99f, 1.0f})
        for (float v : {0.0f, 0.21f, 0.66f, 1.0f})
        {
            // Float weights may sum just under 1 (254); nothing may wrap past 255 to a dark byte.
            EXPECT_GE(white.getGreyBilinear(u, v), 254) << u << "," << v;
        }
}

TEST(ToyPicture, ColourBilinearCarriesTheWeightsInAlpha)
{
    ToyPictureRGBA picture(4, 4);
    picture.clear(200, 100, 50, 255);
    const ToyColour sample = picture.getColourBilinear(0.3f, 0.3f);
    EXPECT_NEAR(sample.getAlpha(), 0.75f, 0.01f) << "weight bytes 163, 40, 40, 10 combined, not the pixels' alpha";
    EXPECT_NEAR(sample.getRed(), 200 / 255.0f, 1e-5f);
    EXPECT_NEAR(sample.getGreen(), 100 / 255.0f, 1e-5f);

    // On a whole row both y1 weights are 0: the result is still the row's colour, not NaN.
    const ToyColour onRow = picture.getColourBilinear(0.3f, 0.0f);
    EXPECT_EQ(onRow.getRedByte(), 200);
    EXPECT_GT(onRow.getAlpha(), 0.0f);
}

TEST(ToyPicture, ResizeResamplesOrChangesNothing)
{
    ToyPictureGrey picture = greyFromRows({{0, 200}});
    picture.resize(0, 5, true);
    EXPECT_EQ(rowsOf(picture), (Rows{{0, 200}})) << "a zero size changes nothing";
    picture.resize(2, 1, true);
    EXPECT_EQ(rowsOf(picture), (Rows{{0, 200}})) << "the current size changes nothing";

    picture.resize(4, 2, true);
    EXPECT_EQ(picture.getWidth(), 4u);
    EXPECT_EQ(rowsOf(picture), (Rows{{0, 100, 200, 200}, {0, 100, 200, 200}}));

    ToyPictureGrey shrink = greyFromRows({{10, 20, 30, 40}});
    shrink.resize(2, 1, true);
    EXPECT_EQ(rowsOf(shrink), (Rows{{10, 30}})) << "new x samples old x * 4 / 2";

    ToyPictureRGBA colour(2, 2);
    colour.resize(3, 3, false);
    EXPECT_EQ(colour.getPlanes().size(), 4u) << "every plane is resized";
    EXPECT_EQ(colour.getPlanes().at("alpha")->size(), 9u);
}

TEST(ToyPicture, QuarterTurns)
{
    // Old (x, y) holds 10 y + x + 1.
    struct Case
    {
        const char* what;
        int mode;
        Rows expected;
    };
    const Case cases[] = {
        {"clockwise: top-right is the old top-left", ToyPicture::kQuarterClockwise, {{11, 1}, {12, 2}, {13, 3}}},
        {"half turn swaps opposite corners", ToyPicture::kHalfTurn, {{13, 12, 11}, {3, 2, 1}}},
        {"anticlockwise: bottom-left is the old top-left", ToyPicture::kQuarterAnticlockwise,
         {{3, 13}, {2, 12}, {1, 11}}},
        {"an unknown mode changes nothing", 3, {{1, 2, 3}, {11, 12, 13}}},
    };
    for (const Case& c : cases)
    {
        ToyPictureGrey picture = greyFromRows({{1, 2, 3}, {11, 12, 13}});
        picture.rotate(c.mode);
        EXPECT_EQ(rowsOf(picture), c.expected) << c.what;
    }

    ToyPictureRGBA colour(3, 2);
    colour.setRGBA(0, 0, 9, 8, 7, 6);
    colour.rotate(ToyPicture::kQuarterClockwise);
    EXPECT_EQ(*colour.redAt(1, 0), 9) << "every plane turns";
    EXPECT_EQ(*colour.alphaAt(1, 0), 6);
}

TEST(ToyPicture, ScaleMultipliesAlphaToo)
{
    ToyPictureRGBA picture(2, 2);
    picture.clear(255, 0, 255, 255);
    picture.scale(0.5f);
    EXPECT_EQ(*picture.redAt(1, 1), 127);
    EXPECT_EQ(*picture.alphaAt(1, 1), 127);

    ToyPictureGrey grey(2, 1);
    grey.clear(255);
    grey.scale(0.5f);
    EXPECT_EQ(*grey.greyAt(1, 0), 127);
}

TEST(ToyPicture, BlendAndMultiplyStayInsideTheWindow)
{
    ToyPictureGrey white(2, 2);
    white.clear(255);

    ToyPictureGrey target(3, 3);
    target.blend(2, 2, 1.0f, white);
    EXPECT_EQ(rowsOf(target), (Rows{{0, 0, 0}, {0, 0, 0}, {0, 0, 255}})) << "clipped at the edge";

    ToyPictureGrey half(3, 3);
    half.blend(0, 0, 0.5f, white);
    EXPECT_EQ(rowsOf(half), (Rows{{127, 127, 0}, {127, 127, 0}, {0, 0, 0}}));

    ToyPictureGrey bright(3, 3);
    bright.clear(255);
    ToyPictureGrey black(2, 2);
    bright.multiply(1, 0, black);
    EXPECT_EQ(rowsOf(bright), (Rows{{255, 0, 0}, {255, 0, 0}, {255, 255, 255}}));

    // A colour over an RGBA picture through blend keeps its colour.
    ToyPictureRGBA canvas(2, 1);
    ToyPictureRGBA red(1, 1);
    red.clear(255, 0, 0, 255);
    canvas.blend(1, 0, 1.0f, red);
    EXPECT_EQ(*canvas.redAt(1, 0), 255);
    EXPECT_EQ(*canvas.redAt(0, 0), 0);
}

TEST(ToyPicture, MultiplyAtPlacesTheOtherPictureByUV)
{
    ToyPictureGrey shadow(2, 2);
    shadow.clear(0);

    ToyPictureGrey whole(4, 4);
    whole.clear(200);
    whole.multiplyAt(0.25f, 0.5f, shadow);
    EXPECT_EQ(rowsOf(whole), (Rows{{200, 200, 200, 200}, {200, 200, 200, 200}, {200, 0, 0, 200}, {200, 0, 0, 200}}));

    ToyPictureGrey atEdge(4, 4);
    atEdge.clear(200);
    atEdge.multiplyAt(1.0f, 0.0f, shadow);
    EXPECT_EQ(rowsOf(atEdge)[0], (std::vector<int>{200, 200, 200, 200})) << "u = 1 touches no pixel";

    // A sub-pixel offset (half a pixel here) spreads the stamp over one more column.
    ToyPictureGrey offset(4, 1);
    offset.clear(255);
    ToyPictureGrey stamp(1, 1);
    offset.multiplyAt(0.125f, 0.0f, stamp);
    EXPECT_EQ(rowsOf(offset), (Rows{{0, 0, 255, 255}}));
}

TEST(ToyPicture, GreyPicturesReduceColourToLuminanceAndReadOpaque)
{
    ToyPictureGrey grey(2, 1);
    grey.setColour(0, 0, ToyColour(1.0f, 0.0f, 0.0f, 1.0f));
    grey.setColour(1, 0, ToyColour(1.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(*grey.greyAt(0, 0), 76);
    EXPECT_EQ(*grey.greyAt(1, 0), 255) << "a transparent colour writes white";
    grey.setColour(0, 0, ToyColour(0.2f, 0.0f));
    EXPECT_EQ(*grey.greyAt(0, 0), 51);
    EXPECT_EQ(grey.getColour(0, 0).getAlpha(), 1.0f) << "alpha is never stored";
    EXPECT_EQ(grey.getColourBilinear(0.5f, 0.0f).getAlpha(), 1.0f);

    ToyPictureRGBA rgba(1, 1);
    rgba.setColour(0, 0, ToyColour(std::uint8_t(90), std::uint8_t(255)));
    EXPECT_EQ(*rgba.redAt(0, 0), 90);
    EXPECT_EQ(*rgba.blueAt(0, 0), 90);

    ToyPictureFloatGrey floats(1, 1);
    floats.setColour(0, 0, ToyColour(0.25f, 1.0f));
    EXPECT_FLOAT_EQ(*floats.greyAt(0, 0), 0.25f);
    EXPECT_FLOAT_EQ(floats.getColour(0, 0).getGrey(), 0.25f) << "written and read on the same scale";
}

TEST(ToyPicture, MultiplyRegionDividesBy256)
{
    struct Case
    {
        const char* what;
        int grey;
        int red, green, blue, alpha;
    };
    const Case cases[] = {
        {"white lowers every sample one step", 255, 199, 99, 49, 254},
        {"black clears alpha too", 0, 0, 0, 0, 0},
        {"half", 128, 100, 50, 25, 127},
    };
    for (const Case& c : cases)
    {
        ToyPictureRGBA colour(2, 2);
        colour.clear(200, 100, 50, 255);
        ToyPictureGrey lightmap(5, 5);  // larger than the colour picture: only its pixels change
        lightmap.clear(static_cast<std::uint8_t>(c.grey));
        colour.multiplyRegion(0, 0, lightmap);
        for (std::uint32_t x = 0; x < 2; ++x)
        {
            for (std::uint32_t y = 0; y < 2; ++y)
            {
                EXPECT_EQ(*colour.redAt(x, y), c.red) << c.what;
                EXPECT_EQ(*colour.greenAt(x, y), c.green) << c.what;
                EXPECT_EQ(*colour.blueAt(x, y), c.blue) << c.what;
                EXPECT_EQ(*colour.alphaAt(x, y), c.alpha) << c.what;
            }
        }
    }

    ToyPictureRGBA offset(3, 1);
    offset.clear(200, 200, 200, 200);
    ToyPictureGrey black(4, 4);
    offset.multiplyRegion(2, 0, black);
    EXPECT_EQ(*offset.redAt(1, 0), 200);
    EXPECT_EQ(*offset.redAt(2, 0), 0);
    offset.multiplyRegion(3, 1, black);  // an empty window at the far corner
    offset.multiplyRegion(9, 9, black);  // past the corner: nothing, not a wrapped window
    EXPECT_EQ(*offset.redAt(1, 0), 200);
}

TEST(ToyPicture, GreyCopiesShareSamplesSafely)
{
    auto source = std::make_unique<ToyPictureGrey>(greyFromRows({{1, 2}, {3, 4}}));
    ToyPictureGrey copy(*source);
    source->setGrey(0, 0, 77);
    EXPECT_EQ(*copy.greyAt(0, 0), 77) << "a copy sees writes through its source";

    ToyPictureGrey assigned;
    assigned = *source;
    EXPECT_EQ(assigned.getWidth(), 2u);
    assigned.setGrey(1, 1, 88);
    EXPECT_EQ(*copy.greyAt(1, 1), 88) << "assignment shares as well";

    source.reset();
    EXPECT_EQ(rowsOf(copy), (Rows{{77, 2}, {3, 88}})) << "the samples outlive the picture that made them";

    // Resizing one copy gives it new samples and leaves the other's alone.
    assigned.resize(4, 4, true);
    assigned.setGrey(0, 0, 5);
    EXPECT_EQ(copy.getWidth(), 2u);
    EXPECT_EQ(*copy.greyAt(0, 0), 77);

    // allocate lets go of the shared samples too.
    ToyPictureGrey again(copy);
    again.allocate();
    EXPECT_EQ(*again.greyAt(0, 0), 0);
    EXPECT_EQ(*copy.greyAt(0, 0), 77);
}

TEST(ToyPicture, OtherCopiesOwnTheirSamples)
{
    ToyPictureRGBA rgba(2, 1);
    rgba.setRGBA(1, 0, 10, 20, 30, 40);
    ToyPictureRGBA rgbaCopy(rgba);
    rgba.setRGBA(1, 0, 0, 0, 0, 0);
    EXPECT_EQ(*rgbaCopy.greenAt(1, 0), 20);
    ToyPictureRGBA rgbaAssigned;
    rgbaAssigned = rgbaCopy;
    *rgbaCopy.blueAt(1, 0) = 0;
    EXPECT_EQ(*rgbaAssigned.blueAt(1, 0), 30);

    ToyPictureFloatGrey floats(2, 1);
    floats.setGrey(1, 0, 0.5f);
    ToyPictureFloatGrey floatCopy(floats);
    floats.clear();
    EXPECT_EQ(*floatCopy.greyAt(1, 0), 0.5f);

    // Across kinds the pixels go through the colours.
    ToyPictureGrey grey = greyFromRows({{10, 250}});
    ToyPictureRGBA fromGrey(static_cast<const ToyPicture&>(grey));
    EXPECT_EQ(*fromGrey.redAt(1, 0), 250);
    EXPECT_EQ(*fromGrey.blueAt(1, 0), 250);
    EXPECT_EQ(*fromGrey.alphaAt(1, 0), 255);
    grey.setGrey(1, 0, 0);
    EXPECT_EQ(*fromGrey.redAt(1, 0), 250);

    ToyPictureGrey fromColour(static_cast<const ToyPicture&>(rgbaAssigned));
    EXPECT_EQ(*fromColour.greyAt(1, 0), ToyColour(std::uint8_t(10), std::uint8_t(20), std::uint8_t(30),
                                                  std::uint8_t(40)).getGreyByte());

    // Copying a picture onto itself keeps its pixels.
    ToyPicture& self = grey;
    grey = self;
    EXPECT_EQ(*grey.greyAt(0, 0), 10);
}
