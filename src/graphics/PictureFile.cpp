// Picture files: PNG files written and read through libpng; pictures from the media through
// the engine's image codecs (ours for PNG).
#include "graphics/PictureFile.h"

#include "AtomicFile.h"
#include "LogStream.h"
#include "RegularFile.h"
#include "graphics/PngImageCodec.h"
#include "graphics/ToyPicture.h"
#include "graphics/ToyPictureGrey.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreImage.h>

#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{
constexpr std::size_t kColourPixelBytes = 4;  // PF_BYTE_RGBA: red, green, blue, alpha in memory

// The file name's extension without the dot.
std::string extensionOf(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return path.substr(dot + 1);
}

// A damaged file may claim any size; the decoder would try to allocate it. The largest
// picture the game makes is a quarter of this on a side.
constexpr std::uint32_t kMaxPictureSide = 4096;  // pixels

bool isPng(const std::vector<char>& bytes)
{
    static const char kPngSignature[] = "\x89PNG\r\n\x1a\n";
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0;
}

// PNG files are decoded by libpng, not the engine's codec: a damaged cache file could make
// the engine's decoder loop for minutes. Grey files stay grey (8-bit), the rest become RGBA.
bool decodePng(const std::vector<char>& bytes, Ogre::Image& image, std::string& problem)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
    {
        problem = png.message;
        return false;
    }
    if (png.width == 0 || png.height == 0 || png.width > kMaxPictureSide || png.height > kMaxPictureSide)
    {
        png_image_free(&png);
        problem = "it claims a size of " + std::to_string(png.width) + " x " + std::to_string(png.height);
        return false;
    }
    const bool grey = (png.format & (PNG_FORMAT_FLAG_COLOR | PNG_FORMAT_FLAG_ALPHA)) == 0;
    png.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_RGBA;
    image.create(grey ? Ogre::PF_L8 : Ogre::PF_BYTE_RGBA, png.width, png.height);
    if (!png_image_finish_read(&png, nullptr, image.getData(), 0, nullptr))
    {
        problem = png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

// Calls visit(x, y, colour) for every pixel; RGBA bytes (what the PNG reader makes) are
// read directly rather than through the engine's per-pixel unpacking.
template <typename Visit>
void forEachPixel(const Ogre::Image& image, Visit visit)
{
    const Ogre::PixelBox box = image.getPixelBox();
    for (std::uint32_t y = 0; y < image.getHeight(); ++y)
    {
        const std::uint8_t* row = box.data + static_cast<std::size_t>(y) * box.rowPitch * 4;
        for (std::uint32_t x = 0; x < image.getWidth(); ++x)
        {
            if (image.getFormat() == Ogre::PF_BYTE_RGBA)
            {
                const std::uint8_t* p = row + static_cast<std::size_t>(x) * 4;
                visit(x, y, ToyColour(p[0], p[1], p[2], p[3]));
            }
            else
            {
                const Ogre::ColourValue pixel = image.getColourAt(x, y, 0);
                visit(x, y, ToyColour(pixel.r, pixel.g, pixel.b, pixel.a));
            }
        }
    }
}

// Scales to width × height with the engine's bilinear filter when both are non-zero.
void scaleIfAsked(Ogre::Image& image, std::uint32_t width, std::uint32_t height)
{
    if (width != 0 && height != 0)
        image.resize(static_cast<Ogre::ushort>(width), static_cast<Ogre::ushort>(height), Ogre::Image::FILTER_BILINEAR);
}
}

namespace PictureFile
{
bool encodeAndWrite(const std::vector<std::uint8_t>& pixels, std::uint32_t width, std::uint32_t height,
                    Ogre::PixelFormat format, const std::string& path)
{
    std::string problem;
    std::string bytes;
    if (extensionOf(path) != "png")
        problem = "only PNG files are written";
    else if (format != Ogre::PF_L8 && format != Ogre::PF_BYTE_RGBA)
        problem = "its pixels are in a format with no PNG layout";
    else if (pixels.size() != Ogre::PixelUtil::getMemorySize(width, height, 1, format))
        problem = "the pixels do not fill " + std::to_string(width) + " x " + std::to_string(height);
    else if (!PngImageCodec::encodePixels(pixels.data(), width, height,
                                          format == Ogre::PF_L8 ? PNG_FORMAT_GRAY : PNG_FORMAT_RGBA, bytes, problem,
                                          PngEffort::Fastest))
        problem = "it cannot be encoded: " + problem;
    else if (writeFileAtomically(path, bytes, &problem))
        return true;
    debugLog() << "Picture file '" << path << "' not written: " << problem << std::endl;
    return false;
}

bool readImage(const std::string& path, Ogre::Image& image)
{
    const std::string notRegular = regularFileProblem(path);
    std::ifstream file;
    if (notRegular.empty())
        file.open(path, std::ios::binary);
    if (!file.is_open())
    {
        debugLog() << "Picture file '" << path << "' cannot be opened"
                   << (notRegular.empty() ? "" : ": " + notRegular) << std::endl;
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // Only PNG, the format the game writes: other formats are decoded whole before their size
    // can be checked, and a damaged file could claim hundreds of millions of pixels.
    std::string problem = "it is not a PNG file";
    if (isPng(bytes) && decodePng(bytes, image, problem))
        return true;
    debugLog() << "Picture file '" << path << "' cannot be read: " << problem << std::endl;
    return false;
}
}

bool ToyPicture::saveToFile(const std::string& path) const
{
    const std::uint32_t w = getWidth();
    const std::uint32_t h = getHeight();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h * kColourPixelBytes);
    for (std::uint32_t x = 0; x < w; ++x)
    {
        for (std::uint32_t y = 0; y < h; ++y)
        {
            const ToyColour colour = getColour(x, y);
            std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(y) * w + x) * kColourPixelBytes];
            pixel[0] = colour.getRedByte();
            pixel[1] = colour.getGreenByte();
            pixel[2] = colour.getBlueByte();
            pixel[3] = colour.getAlphaByte();
        }
    }
    return PictureFile::encodeAndWrite(pixels, w, h, Ogre::PF_BYTE_RGBA, path);
}

bool ToyPicture::loadFromFile(const std::string& name, std::uint32_t width, std::uint32_t height,
                              const std::string& group)
{
    Ogre::Image image;
    try
    {
        image.load(name, group);
        scaleIfAsked(image, width, height);
    }
    catch (const Ogre::Exception& exception)
    {
        debugLog() << "Picture '" << name << "' of group '" << group
                   << "' cannot be read: " << exception.getDescription() << std::endl;
        return false;
    }
    fillFromImage(image);
    return true;
}

bool ToyPicture::loadFromPath(const std::string& path, std::uint32_t width, std::uint32_t height)
{
    Ogre::Image image;
    if (!PictureFile::readImage(path, image))
        return false;
    try
    {
        scaleIfAsked(image, width, height);
    }
    catch (const Ogre::Exception& exception)
    {
        debugLog() << "Picture file '" << path << "' cannot be scaled: " << exception.getDescription() << std::endl;
        return false;
    }
    fillFromImage(image);
    return true;
}

void ToyPicture::fillFromImage(const Ogre::Image& image)
{
    resize(image.getWidth(), image.getHeight(), false);
    forEachPixel(image, [this](std::uint32_t x, std::uint32_t y, const ToyColour& colour) { setColour(x, y, colour); });
}

bool ToyPictureGrey::saveToFile(const std::string& path) const
{
    const std::uint8_t* grey = getGreyData();
    std::vector<std::uint8_t> pixels(grey, grey + static_cast<std::size_t>(getWidth()) * getHeight());
    return PictureFile::encodeAndWrite(pixels, getWidth(), getHeight(), Ogre::PF_L8, path);
}

void ToyPictureGrey::fillFromImage(const Ogre::Image& image)
{
    const std::uint32_t w = image.getWidth();
    const std::uint32_t h = image.getHeight();
    resize(w, h, false);
    const Ogre::PixelBox box = image.getPixelBox();
    if (image.getFormat() == Ogre::PF_L8)
    {
        for (std::uint32_t y = 0; y < h; ++y)
            std::memcpy(greyAt(0, y), box.data + static_cast<std::size_t>(y) * box.rowPitch, w);
        return;
    }
    // A grey written as colour comes back as the same byte: the luminance weights sum to
    // a hair under 1 in floats and would darken a fifth of the values by one.
    if (image.getFormat() == Ogre::PF_BYTE_RGBA)
    {
        // Row by row on the bytes: the cached lightmaps are megapixels of stored grey.
        for (std::uint32_t y = 0; y < h; ++y)
        {
            const std::uint8_t* in = box.data + static_cast<std::size_t>(y) * box.rowPitch * kColourPixelBytes;
            std::uint8_t* out = greyAt(0, y);
            for (std::uint32_t x = 0; x < w; ++x, in += kColourPixelBytes)
            {
                const bool storedGrey = in[3] != 0 && in[0] == in[1] && in[0] == in[2];
                out[x] = storedGrey ? in[0] : ToyColour(in[0], in[1], in[2], in[3]).getGreyByte();
            }
        }
        return;
    }
    forEachPixel(image, [this](std::uint32_t x, std::uint32_t y, const ToyColour& colour) {
        const std::uint8_t red = colour.getRedByte();
        const bool storedGrey = colour.getAlphaByte() != 0 && red == colour.getGreenByte() && red == colour.getBlueByte();
        setGrey(x, y, storedGrey ? red : colour.getGreyByte());
    });
}
