// The game's PNG codec in the engine: every layout a file can have comes back byte for byte,
// other pixel formats are written as RGB or RGBA, noise and flat pictures survive either
// compression effort, and damaged files are refused.
#include "HeadlessOgre.h"
#include "OfflineEngine.h"
#include "TempFolder.h"
#include "graphics/PictureFile.h"
#include "graphics/PngImageCodec.h"

#include <OGRE/OgreCodec.h>
#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreDataStream.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreImage.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{
constexpr std::uint32_t kWidth = 3, kHeight = 2;  // pixels

class PngImageCodecTest : public ::testing::Test
{
protected:
    void SetUp() override { OfflineEngine::loadImageCodecs(); }

    // An image whose every byte differs from its neighbours, so a swapped channel shows.
    static Ogre::Image patterned(Ogre::PixelFormat format)
    {
        Ogre::Image image;
        image.create(format, kWidth, kHeight);
        for (std::size_t i = 0; i < image.getSize(); ++i)
            image.getData()[i] = static_cast<Ogre::uchar>(37 * i + 11);
        return image;
    }

    static Ogre::Image decoded(const Ogre::DataStreamPtr& encoded)
    {
        Ogre::Image image;
        image.load(encoded, "png");
        return image;
    }

    static Ogre::DataStreamPtr bytesStream(const std::string& bytes)
    {
        auto stream = std::make_shared<Ogre::MemoryDataStream>(bytes.size());
        std::memcpy(stream->getPtr(), bytes.data(), bytes.size());
        return stream;
    }
};

TEST_F(PngImageCodecTest, TheGameCodecServesPngFiles)
{
    ASSERT_TRUE(Ogre::Codec::isCodecRegistered("png"));
    EXPECT_NE(nullptr, dynamic_cast<PngImageCodec*>(Ogre::Codec::getCodec("png")));
    PngImageCodec::install();  // again: nothing changes
    EXPECT_NE(nullptr, dynamic_cast<PngImageCodec*>(Ogre::Codec::getCodec("png")));
    char signature[] = "\x89PNG\r\n\x1a\n....";
    EXPECT_NE(nullptr, dynamic_cast<PngImageCodec*>(Ogre::Codec::getCodec(signature, sizeof signature - 1)));
}

TEST_F(PngImageCodecTest, EveryPngLayoutComesBackByteForByte)
{
    for (const Ogre::PixelFormat format : {Ogre::PF_L8, Ogre::PF_BYTE_LA, Ogre::PF_BYTE_RGB, Ogre::PF_BYTE_RGBA})
    {
        SCOPED_TRACE(Ogre::PixelUtil::getFormatName(format));
        Ogre::Image original = patterned(format);
        const Ogre::Image back = decoded(original.encode("png"));
        ASSERT_EQ(format, back.getFormat());
        ASSERT_EQ(kWidth, back.getWidth());
        ASSERT_EQ(kHeight, back.getHeight());
        ASSERT_EQ(original.getSize(), back.getSize());
        EXPECT_EQ(0, std::memcmp(original.getData(), back.getData(), original.getSize()));
    }
}

TEST_F(PngImageCodecTest, OtherFormatsAreWrittenAsRgbWithAlphaOnlyWhereTheyHaveIt)
{
    // Window contents come as these: with alpha, and with an unused byte instead.
    const struct
    {
        Ogre::PixelFormat format;
        Ogre::PixelFormat written;
    } cases[] = {{Ogre::PF_A8R8G8B8, Ogre::PF_BYTE_RGBA}, {Ogre::PF_X8R8G8B8, Ogre::PF_BYTE_RGB}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(Ogre::PixelUtil::getFormatName(c.format));
        Ogre::Image original = patterned(c.format);
        const Ogre::Image back = decoded(original.encode("png"));
        ASSERT_EQ(c.written, back.getFormat());
        for (std::uint32_t y = 0; y < kHeight; ++y)
            for (std::uint32_t x = 0; x < kWidth; ++x)
                EXPECT_EQ(original.getColourAt(x, y, 0), back.getColourAt(x, y, 0)) << x << ", " << y;
    }
}

TEST_F(PngImageCodecTest, NoisyAndFlatPicturesComeBackAtEitherEffort)
{
    // Noise compresses to more than its own size: the encoder's room must hold the worst case.
    constexpr std::uint32_t side = 300;
    std::vector<std::uint8_t> noise(side * side * 4), flat(side * side * 4, 200);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : noise)
        byte = static_cast<std::uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
    for (const PngEffort effort : {PngEffort::Smallest, PngEffort::Fastest})
    {
        for (const std::vector<std::uint8_t>* pixels : {&noise, &flat})
        {
            SCOPED_TRACE(std::string(effort == PngEffort::Fastest ? "fastest, " : "smallest, ") +
                         (pixels == &noise ? "noise" : "flat"));
            std::string bytes, problem;
            ASSERT_TRUE(PngImageCodec::encodePixels(pixels->data(), side, side, PNG_FORMAT_RGBA, bytes, problem,
                                                    effort))
                << problem;
            if (pixels == &flat)
            {
                EXPECT_LT(bytes.size(), pixels->size() / 50);
            }
            const Ogre::Image back = decoded(bytesStream(bytes));
            ASSERT_EQ(Ogre::PF_BYTE_RGBA, back.getFormat());
            ASSERT_EQ(pixels->size(), back.getSize());
            EXPECT_EQ(0, std::memcmp(pixels->data(), back.getData(), pixels->size()));
        }
    }
}

TEST_F(PngImageCodecTest, SavedFilesAreWholePngFiles)
{
    TempFolder folder;
    Ogre::Image original = patterned(Ogre::PF_BYTE_RGBA);
    original.save(folder.path() + "saved.png");
    Ogre::Image back;
    ASSERT_TRUE(PictureFile::readImage(folder.path() + "saved.png", back));
    EXPECT_EQ(0, std::memcmp(original.getData(), back.getData(), original.getSize()));

    const std::string blocked = folder.write("not-a-folder", "") + "/saved.png";
    EXPECT_THROW(original.save(blocked), Ogre::Exception);
}

TEST_F(PngImageCodecTest, DamagedFilesAreRefused)
{
    const std::string whole = TempFolder::read(std::string(QUILLMOR_TEST_DATA_DIR) + "/images/decoder-hang.png");
    Ogre::Image picture = patterned(Ogre::PF_BYTE_RGB);
    const std::string good = picture.encode("png")->getAsString();
    // A PNG header claiming 100000 × 100000 pixels.
    const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                    0, 0x01, 0x86, 0xa0, 0, 0x01, 0x86, 0xa0, 8, 6, 0, 0, 0, 0, 0, 0, 0};
    const std::string damaged[] = {good.substr(0, good.size() / 2), std::string(reinterpret_cast<const char*>(header), sizeof header),
                                   "\x89PNG\r\n\x1a\n and then nothing a decoder knows", whole};
    for (const std::string& bytes : damaged)
    {
        Ogre::Image image;
        EXPECT_THROW(image.load(bytesStream(bytes), "png"), Ogre::Exception) << bytes.size() << " bytes";
    }
}
}

TEST(JpegImageCodec, DecodesTheStarMapAndRefusesDamagedFiles)
{
    OfflineEngine::loadImageCodecs();
    Ogre::Image stars;
    std::ifstream file(std::string(QUILLMOR_BUILD_DIR) + "/media/sky/Starfield.jpg", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(const_cast<char*>(bytes.data()), bytes.size(), false));
    stars.load(stream, "jpg");
    EXPECT_EQ(stars.getWidth(), 4096u);
    EXPECT_EQ(stars.getHeight(), 4096u);
    EXPECT_EQ(stars.getFormat(), Ogre::PF_L8);

    for (const std::string& damaged : {bytes.substr(0, 2), std::string("\xFF\xD8\xFF junk", 8), bytes.substr(0, 600)})
    {
        Ogre::Image image;
        Ogre::DataStreamPtr input(new Ogre::MemoryDataStream(const_cast<char*>(damaged.data()), damaged.size(), false));
        EXPECT_THROW(image.load(input, "jpg"), Ogre::Exception) << damaged.size() << " bytes";
    }
}
