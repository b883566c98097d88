// Picture files: written through libpng, read back through the engine's PNG codec as textures are.
#include "HeadlessOgre.h"
#include "OfflineEngine.h"
#include "TempFolder.h"
#include "graphics/ToyPictureGrey.h"
#include "graphics/ToyPictureRGBA.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>

namespace
{
class PictureFileTest : public ::testing::Test
{
protected:
    void SetUp() override { OfflineEngine::loadImageCodecs(); }

    static Ogre::Image readBack(const std::string& path)
    {
        Ogre::Image image;
        std::ifstream file(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(&bytes[0], bytes.size(), false, true));
        image.load(stream, "png");
        return image;
    }

    // Writes an RGBA PNG with the given pixels (one row) through the colour picture.
    std::string writeColourRow(const std::vector<ToyColour>& colours, const std::string& name)
    {
        ToyPictureRGBA row(static_cast<std::uint32_t>(colours.size()), 1);
        for (std::uint32_t x = 0; x < colours.size(); ++x)
            row.setColour(x, 0, colours[x]);
        const std::string path = folder.path() + name;
        EXPECT_TRUE(row.saveToFile(path));
        return path;
    }

    TempFolder folder;
};

TEST_F(PictureFileTest, ColourFileKeepsEveryChannelInItsPlace)
{
    ToyPictureRGBA picture(3, 2);
    picture.setRGBA(0, 0, 255, 0, 0, 255);
    picture.setRGBA(1, 0, 0, 255, 0, 128);
    picture.setRGBA(2, 1, 10, 20, 30, 40);
    const std::string path = folder.path() + "colour.png";
    ASSERT_TRUE(picture.saveToFile(path));

    const Ogre::Image image = readBack(path);
    ASSERT_EQ(3u, image.getWidth());
    ASSERT_EQ(2u, image.getHeight());
    EXPECT_EQ(Ogre::ColourValue(1, 0, 0, 1), image.getColourAt(0, 0, 0));
    EXPECT_NEAR(128 / 255.0f, image.getColourAt(1, 0, 0).a, 1e-6f);
    EXPECT_NEAR(1.0f, image.getColourAt(1, 0, 0).g, 1e-6f);

    ToyPictureRGBA loaded(1, 1);
    ASSERT_TRUE(loaded.loadFromPath(path, 0, 0));
    ASSERT_EQ(3u, loaded.getWidth());
    const ToyColour corner = loaded.getColour(2, 1);
    EXPECT_EQ(10, corner.getRedByte());
    EXPECT_EQ(20, corner.getGreenByte());
    EXPECT_EQ(30, corner.getBlueByte());
    EXPECT_EQ(40, corner.getAlphaByte());
}

TEST_F(PictureFileTest, GreyThroughTheColourFileComesBackByteForByte)
{
    // Every byte value, written as 32-bit colour (red = green = blue = grey, alpha 255).
    ToyPictureGrey grey(256, 1);
    for (std::uint32_t x = 0; x < 256; ++x)
        grey.setGrey(x, 0, static_cast<std::uint8_t>(x));
    const std::string path = folder.path() + "grey-as-colour.png";
    ASSERT_TRUE(grey.ToyPicture::saveToFile(path));

    const Ogre::Image image = readBack(path);
    EXPECT_EQ(Ogre::ColourValue(1, 1, 1, 1), image.getColourAt(255, 0, 0));
    EXPECT_NEAR(17 / 255.0f, image.getColourAt(17, 0, 0).b, 1e-6f);

    ToyPictureGrey loaded(4, 4);
    ToyPicture& anyKind = loaded;  // the caches load through the base
    ASSERT_TRUE(anyKind.loadFromPath(path, 0, 0));
    for (std::uint32_t x = 0; x < 256; ++x)
        ASSERT_EQ(x, loaded.getGreyData()[x]) << "grey " << x;
}

TEST_F(PictureFileTest, GreyThroughTheColourFileKeepsEveryRowInPlace)
{
    // Rows of odd width, each with its own values: a row read from the wrong place shows.
    ToyPictureGrey grey(7, 3);
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 7; ++x)
            grey.setGrey(x, y, static_cast<std::uint8_t>(100 * y + x));
    const std::string path = folder.path() + "rows-as-colour.png";
    ASSERT_TRUE(grey.ToyPicture::saveToFile(path));

    ToyPictureGrey loaded;
    ASSERT_TRUE(loaded.loadFromPath(path, 0, 0));
    ASSERT_EQ(7u, loaded.getWidth());
    ASSERT_EQ(3u, loaded.getHeight());
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 7; ++x)
            ASSERT_EQ(100 * y + x, loaded.getGreyData()[y * 7 + x]) << x << "," << y;
}

TEST_F(PictureFileTest, GreyFileIsLuminanceAndLoadsUnchanged)
{
    ToyPictureGrey grey(5, 3);
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 5; ++x)
            grey.setGrey(x, y, static_cast<std::uint8_t>(x * 50 + y));
    const std::string path = folder.path() + "grey.png";
    ASSERT_TRUE(grey.saveToFile(path));
    EXPECT_EQ(Ogre::PF_L8, readBack(path).getFormat());

    ToyPictureGrey loaded;
    ASSERT_TRUE(loaded.loadFromPath(path, 0, 0));
    ASSERT_EQ(5u, loaded.getWidth());
    ASSERT_EQ(3u, loaded.getHeight());
    EXPECT_EQ(201, loaded.getGreyData()[4 + 5 * 1]);
    EXPECT_EQ(2, loaded.getGreyData()[0 + 5 * 2]);
}

TEST_F(PictureFileTest, ColourIntoGreyUsesLuminanceAndTransparentIsWhite)
{
    const std::string path = writeColourRow(
        {ToyColour(1.0f, 0.0f, 0.0f, 1.0f), ToyColour(0.2f, 0.9f, 0.4f, 0.0f), ToyColour(0.0f, 0.0f, 1.0f, 1.0f)},
        "mixed.png");
    ToyPictureGrey grey;
    ASSERT_TRUE(grey.loadFromPath(path, 0, 0));
    EXPECT_EQ(76, grey.getGreyData()[0]);   // opaque pure red
    EXPECT_EQ(255, grey.getGreyData()[1]);  // fully transparent
    EXPECT_EQ(28, grey.getGreyData()[2]);   // opaque pure blue
}

TEST_F(PictureFileTest, SizeIsKeptUnlessBothAreGiven)
{
    const std::string path = writeColourRow({ToyColour(0.5f, 0.5f, 0.5f, 1.0f), ToyColour(0.5f, 0.5f, 0.5f, 1.0f)},
                                            "small.png");
    struct Case
    {
        const char* what;
        std::uint32_t width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {"width 0 keeps the file's size", 0, 7, 2, 1},
        {"height 0 keeps the file's size", 7, 0, 2, 1},
        {"both given scale", 1024, 1024, 1024, 1024},
    };
    for (const Case& c : cases)
    {
        ToyPictureGrey grey(3, 3);
        ASSERT_TRUE(grey.loadFromPath(path, c.width, c.height)) << c.what;
        EXPECT_EQ(c.expectedWidth, grey.getWidth()) << c.what;
        EXPECT_EQ(c.expectedHeight, grey.getHeight()) << c.what;
        EXPECT_EQ(127, grey.getGreyData()[grey.getWidth() * grey.getHeight() - 1]) << c.what;
    }
}

TEST_F(PictureFileTest, LoadsByNameFromAResourceGroup)
{
    writeColourRow({ToyColour(0.0f, 1.0f, 0.0f, 1.0f)}, "green.png");
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.addResourceLocation(folder.path(), "FileSystem", "PictureFileTest");
    ToyPictureRGBA picture(2, 2);
    const bool loaded = picture.loadFromFile("green.png", 0, 0, "PictureFileTest");
    groups.destroyResourceGroup("PictureFileTest");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(1u, picture.getWidth());
    EXPECT_EQ(255, picture.getColour(0, 0).getGreenByte());
}

TEST_F(PictureFileTest, FailuresAreReportedAndLeaveThingsAsTheyWere)
{
    ToyPictureGrey picture(2, 2);
    picture.clear(9);
    const std::string garbage = folder.write("garbage.png", "not a picture at all");
    // A file where the folder should be: unwritable even for root.
    const std::string dir = folder.write("not-a-folder", "") + "/";

    EXPECT_FALSE(picture.loadFromPath(folder.path() + "missing.png", 0, 0));
    EXPECT_FALSE(picture.loadFromPath(garbage, 0, 0));
    EXPECT_FALSE(picture.loadFromFile("missing.png", 0, 0, Ogre::RGN_DEFAULT));
    EXPECT_EQ(2u, picture.getWidth());
    EXPECT_EQ(9, picture.getGreyData()[3]);

    EXPECT_FALSE(picture.saveToFile(dir + "cannot.png"));
    EXPECT_FALSE(picture.ToyPicture::saveToFile(dir + "cannot.png"));
    EXPECT_FALSE(picture.saveToFile(folder.path() + "no-codec.unknownformat"));
    struct stat info;
    EXPECT_NE(0, stat((dir + "cannot.png").c_str(), &info));
    EXPECT_NE(0, stat((folder.path() + "no-codec.unknownformat").c_str(), &info));
}
}

TEST_F(PictureFileTest, DamagedFilesAreRefusedQuickly)
{
    // A PNG header claiming 100000 × 100000 pixels: refused before any allocation.
    const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                    0, 0x01, 0x86, 0xa0, 0, 0x01, 0x86, 0xa0, 8, 6, 0, 0, 0, 0, 0, 0, 0};
    const std::string huge(reinterpret_cast<const char*>(header), sizeof header);
    const std::string hugePath = folder.write("huge.png", huge);
    ToyPictureGrey picture(2, 2);
    EXPECT_FALSE(picture.loadFromPath(hugePath, 0, 0));
    EXPECT_EQ(2u, picture.getWidth());

    // A cache file in another format, claiming 64545 × 4645 pixels.
    EXPECT_FALSE(picture.loadFromPath(std::string(QUILLMOR_TEST_DATA_DIR) + "/images/huge-claim.ppm", 0, 0));

    // A damaged cached lightmap that kept the engine's own PNG decoder busy for minutes.
    const auto start = std::chrono::steady_clock::now();
    picture.loadFromPath(std::string(QUILLMOR_TEST_DATA_DIR) + "/images/decoder-hang.png", 0, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}
