// Writing pictures into texture buffers: the buffer's real format and row pitch decide.
#include "graphics/PictureTextureWriter.h"
#include "graphics/ToyPictureFloatGrey.h"
#include "graphics/ToyPictureGrey.h"
#include "graphics/ToyPictureRGBA.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgrePixelFormat.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr Ogre::uchar kSentinel = 0xAB;

// A box of width × height pixels over rows of rowPitch pixels, padding filled with a sentinel.
struct PaddedBuffer
{
    PaddedBuffer(std::uint32_t width, std::uint32_t height, std::uint32_t rowPitch, Ogre::PixelFormat format)
        : bytes(rowPitch * height * Ogre::PixelUtil::getNumElemBytes(format), kSentinel),
          box(width, height, 1, format, bytes.data())
    {
        box.rowPitch = rowPitch;
        box.slicePitch = rowPitch * height;
    }
    Ogre::ColourValue at(std::uint32_t x, std::uint32_t y) const
    {
        Ogre::ColourValue colour;
        Ogre::PixelUtil::unpackColour(&colour, box.format,
                                      bytes.data() + (y * box.rowPitch + x) * Ogre::PixelUtil::getNumElemBytes(box.format));
        return colour;
    }
    std::vector<Ogre::uchar> bytes;
    Ogre::PixelBox box;
};

int toByte(float value)
{
    return static_cast<int>(value * 255.0f + 0.5f);
}
}

TEST(PictureTextureWriter, ColourIsPackedInTheBuffersOwnFormatAndPitch)
{
    ToyPictureRGBA picture(3, 2);
    picture.setRGBA(0, 0, 255, 0, 0, 255);
    picture.setRGBA(2, 1, 10, 20, 30, 40);
    for (Ogre::PixelFormat format : {Ogre::PF_A8R8G8B8, Ogre::PF_R8G8B8A8, Ogre::PF_A8B8G8R8, Ogre::PF_BYTE_RGBA})
    {
        PaddedBuffer buffer(3, 2, 5, format);
        ASSERT_TRUE(PictureTextureWriter::write(picture, buffer.box));
        const std::string name = Ogre::PixelUtil::getFormatName(format);
        const Ogre::ColourValue red = buffer.at(0, 0);
        EXPECT_EQ(toByte(red.r), 255) << name;
        EXPECT_EQ(toByte(red.g), 0) << name;
        EXPECT_EQ(toByte(red.a), 255) << name;
        const Ogre::ColourValue last = buffer.at(2, 1);
        EXPECT_EQ(toByte(last.r), 10) << name;
        EXPECT_EQ(toByte(last.g), 20) << name;
        EXPECT_EQ(toByte(last.b), 30) << name;
        EXPECT_EQ(toByte(last.a), 40) << name;
        const size_t pixelBytes = Ogre::PixelUtil::getNumElemBytes(format);
        for (std::uint32_t y = 0; y < 2; ++y)
            for (size_t i = 3 * pixelBytes; i < 5 * pixelBytes; ++i)
                EXPECT_EQ(buffer.bytes[y * 5 * pixelBytes + i], kSentinel) << name << ": row padding is left alone";
    }

    // In memory order, byte RGBA is red, green, blue, alpha.
    PaddedBuffer bytes(3, 2, 3, Ogre::PF_BYTE_RGBA);
    PictureTextureWriter::write(picture, bytes.box);
    const std::vector<Ogre::uchar> lastPixel(bytes.bytes.end() - 4, bytes.bytes.end());
    EXPECT_EQ(lastPixel, (std::vector<Ogre::uchar>{10, 20, 30, 40}));
}

TEST(PictureTextureWriter, GreyAndLargerBoxes)
{
    ToyPictureGrey picture(2, 2);
    picture.setGrey(1, 0, 90);
    picture.setGrey(1, 1, 200);
    PaddedBuffer buffer(4, 3, 4, Ogre::PF_L8);
    ASSERT_TRUE(PictureTextureWriter::write(picture, buffer.box));
    EXPECT_EQ(buffer.bytes[1], 90);
    EXPECT_EQ(buffer.bytes[3], 90) << "columns past the picture repeat its last column";
    EXPECT_EQ(buffer.bytes[2 * 4 + 3], 200) << "and rows its last row";
    EXPECT_EQ(buffer.bytes[2 * 4 + 0], 0);

    PaddedBuffer compressed(4, 4, 4, Ogre::PF_L8);
    compressed.box.format = Ogre::PF_DXT1;
    EXPECT_FALSE(PictureTextureWriter::write(picture, compressed.box));
    EXPECT_EQ(compressed.bytes[0], kSentinel);
}

TEST(PictureTextureWriter, EveryKindWritesTheBytesOfItsColours)
{
    // Each kind copies its rows its own way: every pixel must still be what getColour says,
    // packed in the buffer's format, in boxes the picture's size and larger.
    ToyPictureGrey grey(3, 2);
    ToyPictureRGBA rgba(3, 2);
    ToyPictureFloatGrey floatGrey(3, 2);
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 3; ++x)
        {
            const auto v = static_cast<std::uint8_t>(40 * x + 100 * y + 7);
            grey.setGrey(x, y, v);
            rgba.setRGBA(x, y, v, static_cast<std::uint8_t>(v + 1), static_cast<std::uint8_t>(v + 2),
                         static_cast<std::uint8_t>(255 - v));
            floatGrey.setGrey(x, y, v / 255.0f);
        }
    const ToyPicture* pictures[] = {&grey, &rgba, &floatGrey};
    for (const ToyPicture* picture : pictures)
        for (const Ogre::PixelFormat format : {Ogre::PF_L8, Ogre::PF_R8G8B8A8, Ogre::PF_A8R8G8B8})
            for (const std::uint32_t side : {3u, 5u})
            {
                SCOPED_TRACE(Ogre::PixelUtil::getFormatName(format) + ", box side " + std::to_string(side) +
                             ", picture " + std::to_string(picture == &grey ? 0 : picture == &rgba ? 1 : 2));
                PaddedBuffer buffer(side, side, side + 1, format);
                ASSERT_TRUE(PictureTextureWriter::write(*picture, buffer.box));
                const std::size_t pixelBytes = Ogre::PixelUtil::getNumElemBytes(format);
                for (std::uint32_t y = 0; y < side; ++y)
                {
                    for (std::uint32_t x = 0; x < side; ++x)
                    {
                        const ToyColour colour = picture->getColour(x, y);
                        std::vector<Ogre::uchar> expected(pixelBytes);
                        Ogre::PixelUtil::packColour(colour.getRedByte(), colour.getGreenByte(), colour.getBlueByte(),
                                                    colour.getAlphaByte(), format, expected.data());
                        const auto at = buffer.bytes.begin() + (y * (side + 1) + x) * pixelBytes;
                        EXPECT_EQ(expected, std::vector<Ogre::uchar>(at, at + pixelBytes)) << x << ", " << y;
                    }
                    EXPECT_EQ(kSentinel, buffer.bytes[(y * (side + 1) + side) * pixelBytes]) << "row padding";
                }
            }
}
