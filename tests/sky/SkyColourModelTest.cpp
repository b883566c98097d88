// Sky colours from gradient pictures: sampling, wrapping and clamping, the elevation index.
#include "sky/StoredImageElvBasedSkyColourModel.h"

#include "support/HeadlessOgre.h"

#include <OGRE/OgreException.h>

#include <gtest/gtest.h>

namespace
{
// Red is the column / 255, green the row / (height - 1), alpha 0.5 in the last row.
std::unique_ptr<Ogre::Image> gradient(unsigned width, unsigned height)
{
    auto image = std::make_unique<Ogre::Image>(Ogre::PF_FLOAT32_RGBA, width, height);
    for (unsigned row = 0; row < height; ++row)
        for (unsigned column = 0; column < width; ++column)
            image->setColourAt(Ogre::ColourValue(column / 255.0f, height > 1 ? row / float(height - 1) : 0.0f, 0.0f,
                                                 row + 1 == height ? 0.5f : 1.0f),
                               column, row, 0);
    return image;
}

const Ogre::Vector3 kSunAtZenith(0, -1, 0);  // the light comes straight down
const Ogre::Vector3 kSunOnHorizon(1, 0, 0);
const Ogre::Vector3 kSunAtNadir(0, 1, 0);
}

TEST(SkyColourModel, WithoutPicturesEverythingIsWhite)
{
    sky::StoredImageElvBasedSkyColourModel model;
    EXPECT_EQ(model.getFogColour(0.3f, kSunOnHorizon), Ogre::ColourValue::White);
    EXPECT_EQ(model.getSunColour(0.3f, kSunOnHorizon), Ogre::ColourValue::White);
    EXPECT_FLOAT_EQ(model.getFogDensity(0.3f, kSunOnHorizon), 0.0005f);
}

TEST(SkyColourModel, SamplesBlendTwoColumnsOfARow)
{
    const auto image = gradient(256, 8);
    struct Case
    {
        const char* what;
        float x, y;
        bool wrap;
        float red, green;
    };
    const Case cases[] = {
        {"the first column, top row", 0.0f, 0.0f, false, 0.0f, 0.0f},
        {"the height by its absolute value", 0.0f, -1.0f, false, 0.0f, 1.0f},
        {"the last row", 0.5f, 1.0f, false, 127.5f / 255.0f, 1.0f},
        {"the end clamps onto the last column", 1.0f, 0.5f, false, 1.0f, 3.0f / 7.0f},
        // 0.999 x 255 = 254.745: columns 254 and 255, and 255 wraps onto 0.
        {"late in the day the blend wraps to the first column", 0.999f, 0.0f, true, 254.0f / 255.0f * 0.255f, 0.0f},
    };
    for (const Case& c : cases)
    {
        const Ogre::ColourValue colour = sky::StoredImageSkyColourModel::sampleImage(c.x, c.y, *image, c.wrap);
        EXPECT_NEAR(colour.r, c.red, 2e-3f) << c.what;
        EXPECT_NEAR(colour.g, c.green, 1e-5f) << c.what;
    }
}

TEST(SkyColourModel, OnePixelWidePicturesAreSafe)
{
    const auto narrow = gradient(1, 4);
    for (bool wrap : {false, true})
        for (float x : {0.0f, 0.5f, 1.0f})
            EXPECT_FLOAT_EQ(sky::StoredImageSkyColourModel::sampleImage(x, 1.0f, *narrow, wrap).g, 1.0f);
}

TEST(SkyColourModel, ElevationPicksTheColumn)
{
    sky::StoredImageElvBasedSkyColourModel model;
    model.setFogDensity(0.0015f);
    model.setImages(gradient(256, 8), gradient(256, 8));
    struct Case
    {
        const char* what;
        Ogre::Vector3 sun;
        float column;
    };
    const Case cases[] = {
        {"sun at the zenith", kSunAtZenith, 0.0f},
        {"sun on the horizon", kSunOnHorizon, 127.5f},
        {"sun at the nadir", kSunAtNadir, 255.0f},
    };
    for (const Case& c : cases)
    {
        const Ogre::ColourValue fog = model.getFogColour(0.0f, c.sun);
        EXPECT_NEAR(fog.r, c.column / 255.0f, 1e-4f) << c.what;
        EXPECT_FLOAT_EQ(fog.g, 1.0f) << c.what << ": the fog is the bottom row";
        EXPECT_FLOAT_EQ(model.getFogDensity(0.0f, c.sun), 0.00075f) << c.what << ": alpha 0.5 halves it";
        EXPECT_NEAR(model.getSunColour(0.0f, c.sun).r, c.column / 255.0f, 1e-4f) << c.what;
    }
}

TEST(SkyColourModel, APictureThatFailsToLoadKeepsThePreviousOne)
{
    HeadlessOgre::root();
    sky::StoredImageElvBasedSkyColourModel model;
    model.setImages(gradient(256, 8), gradient(256, 8));
    EXPECT_THROW(model.setSkyGradientsImage("NoSuchGradient.png"), Ogre::Exception);
    EXPECT_NEAR(model.getSunColour(0.0f, kSunOnHorizon).r, 127.5f / 255.0f, 1e-4f);
    EXPECT_FLOAT_EQ(model.getFogColour(0.0f, kSunOnHorizon).g, 1.0f);
}
