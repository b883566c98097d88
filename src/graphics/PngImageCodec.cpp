// PNG files for the engine through libpng.
#include "graphics/PngImageCodec.h"

#include "AtomicFile.h"

#include <OGRE/OgreDataStream.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreImage.h>
#include <OGRE/OgrePixelFormat.h>

#include <png.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{
const char kType[] = "png";
constexpr std::size_t kSignatureBytes = 8;
// A damaged file may claim any size and libpng would allocate it; no texture is larger.
constexpr std::uint32_t kMaxTextureSide = 16384;  // pixels

struct Layout
{
    std::uint32_t pngFormat;
    Ogre::PixelFormat pixelFormat;
};

// The layout a file decodes into. Sixteen-bit files come out as 8 bits: the only 16-bit files,
// the terrain heightmaps, are read by HeightmapImage and never reach the engine.
Layout layoutOf(std::uint32_t fileFormat)
{
    const bool colour = (fileFormat & PNG_FORMAT_FLAG_COLOR) != 0;
    const bool alpha = (fileFormat & PNG_FORMAT_FLAG_ALPHA) != 0;
    if (colour)
        return alpha ? Layout{PNG_FORMAT_RGBA, Ogre::PF_BYTE_RGBA} : Layout{PNG_FORMAT_RGB, Ogre::PF_BYTE_RGB};
    return alpha ? Layout{PNG_FORMAT_GA, Ogre::PF_BYTE_LA} : Layout{PNG_FORMAT_GRAY, Ogre::PF_L8};
}

const Ogre::Image& imageIn(const Ogre::Any& any)
{
    if (Ogre::Image* const* image = Ogre::any_cast<Ogre::Image*>(&any))
        return **image;
    if (const Ogre::Image* const* image = Ogre::any_cast<const Ogre::Image*>(&any))
        return **image;
    OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "the PNG codec writes only images", "PngImageCodec::encode");
}

std::string encodeImage(const Ogre::Image& image)
{
    Ogre::PixelFormat format = image.getFormat();
    std::uint32_t pngFormat = 0;
    switch (format)
    {
    case Ogre::PF_L8: pngFormat = PNG_FORMAT_GRAY; break;
    case Ogre::PF_BYTE_LA: pngFormat = PNG_FORMAT_GA; break;
    case Ogre::PF_BYTE_RGB: pngFormat = PNG_FORMAT_RGB; break;
    case Ogre::PF_BYTE_RGBA: pngFormat = PNG_FORMAT_RGBA; break;
    default:
        format = Ogre::PixelUtil::hasAlpha(format) ? Ogre::PF_BYTE_RGBA : Ogre::PF_BYTE_RGB;
        pngFormat = format == Ogre::PF_BYTE_RGBA ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    }
    const std::uint32_t width = image.getWidth(), height = image.getHeight();
    std::vector<std::uint8_t> pixels(Ogre::PixelUtil::getMemorySize(width, height, 1, format));
    Ogre::PixelUtil::bulkPixelConversion(image.getPixelBox(), Ogre::PixelBox(width, height, 1, format, pixels.data()));
    std::string bytes, problem;
    if (!PngImageCodec::encodePixels(pixels.data(), width, height, pngFormat, bytes, problem))
        OGRE_EXCEPT(Ogre::Exception::ERR_INTERNAL_ERROR, "PNG not encoded: " + problem, "PngImageCodec::encode");
    return bytes;
}
}

void PngImageCodec::install()
{
    static PngImageCodec codec;
    if (Ogre::Codec::isCodecRegistered(kType))
    {
        Ogre::Codec* current = Ogre::Codec::getCodec(kType);
        if (current == &codec)
            return;
        codec.replaced = current;
        Ogre::Codec::unregisterCodec(current);
    }
    Ogre::Codec::registerCodec(&codec);
}

bool PngImageCodec::encodePixels(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                 std::uint32_t pngFormat, std::string& bytes, std::string& problem, PngEffort effort)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = width;
    png.height = height;
    png.format = pngFormat;
    if (effort == PngEffort::Fastest)
        png.flags |= PNG_IMAGE_FLAG_FAST;
    // Compressed once, into room for the worst case: asking libpng for the size first
    // compresses the picture twice. The room is left uninitialised, so its unused pages are
    // never touched.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        const std::unique_ptr<std::uint8_t[]> room(new std::uint8_t[size]);
        png_alloc_size_t roomSize = size;
        if (png_image_write_to_memory(&png, room.get(), &size, 0, pixels, 0, nullptr))
        {
            bytes.assign(reinterpret_cast<const char*>(room.get()), size);
            return true;
        }
        // A bound that overflowed comes back corrected, larger.
        if (size <= roomSize)
            break;
    }
    problem = png.message;
    png_image_free(&png);
    return false;
}

Ogre::String PngImageCodec::getType() const
{
    return kType;
}

Ogre::String PngImageCodec::magicNumberToFileExt(const char* magicNumber, size_t maxBytes) const
{
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    return maxBytes >= kSignatureBytes && std::memcmp(magicNumber, kSignature, kSignatureBytes) == 0 ? kType : "";
}

void PngImageCodec::decode(const Ogre::DataStreamPtr& input, const Ogre::Any& output) const
{
    const std::string bytes = input->getAsString();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    std::string problem;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        problem = png.message;
    else if (png.width == 0 || png.height == 0 || png.width > kMaxTextureSide || png.height > kMaxTextureSide)
        problem = "it claims a size of " + std::to_string(png.width) + " x " + std::to_string(png.height);
    if (problem.empty())
    {
        const Layout layout = layoutOf(png.format);
        png.format = layout.pngFormat;
        Ogre::Image& image = *Ogre::any_cast<Ogre::Image*>(output);
        image.create(layout.pixelFormat, png.width, png.height);
        if (png_image_finish_read(&png, nullptr, image.getData(), 0, nullptr))
            return;
        problem = png.message;
    }
    png_image_free(&png);
    OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "PNG file '" + input->getName() + "' not decoded: " + problem,
                "PngImageCodec::decode");
}

Ogre::DataStreamPtr PngImageCodec::encode(const Ogre::Any& input) const
{
    const std::string bytes = encodeImage(imageIn(input));
    // The stream allocates its buffer itself, so the engine frees it with the matching operator.
    auto stream = std::make_shared<Ogre::MemoryDataStream>(bytes.size());
    std::memcpy(stream->getPtr(), bytes.data(), bytes.size());
    return stream;
}

void PngImageCodec::encodeToFile(const Ogre::Any& input, const Ogre::String& outFileName) const
{
    std::string error;
    if (!writeFileAtomically(outFileName, encodeImage(imageIn(input)), &error))
        OGRE_EXCEPT(Ogre::Exception::ERR_CANNOT_WRITE_TO_FILE, error, "PngImageCodec::encodeToFile");
}
