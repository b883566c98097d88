// The engine's image codec for PNG files, over libpng. It takes the place of the engine's own
// PNG codec, whose decoded pixels come from malloc while the engine's images free them with
// delete[]: under the address sanitizer every texture load was a mismatched free. Here the
// pixels are written straight into the image's own buffer.
#pragma once

#include <OGRE/OgreImageCodec.h>

#include <cstdint>
#include <string>

// Smallest for files that are kept or handed on; Fastest for the caches the game writes and
// reads back itself, where compressing harder costs seconds of loading (larger by a quarter).
enum class PngEffort
{
    Smallest,
    Fastest
};

class PngImageCodec : public Ogre::ImageCodec
{
public:
    // Puts the codec in the engine's place for "png", once the engine's codec plug-in is
    // loaded (after every start of the engine: the plug-in registers its own codec again).
    static void install();

    // PNG bytes of width × height pixels, rows top to bottom, laid out as libpng's format
    // (PNG_FORMAT_GRAY, PNG_FORMAT_RGBA...). False with the reason on failure.
    static bool encodePixels(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                             std::uint32_t pngFormat, std::string& bytes, std::string& problem,
                             PngEffort effort = PngEffort::Smallest);

    Ogre::String getType() const override;
    Ogre::String magicNumberToFileExt(const char* magicNumber, size_t maxBytes) const override;
    // output: the Ogre::Image* to fill, as 8-bit grey, grey and alpha, RGB or RGBA. Throws
    // Ogre::Exception for a damaged file or one claiming a size no texture has.
    void decode(const Ogre::DataStreamPtr& input, const Ogre::Any& output) const override;
    // input: the Ogre::Image* to write; pixels of other formats are converted to RGB or RGBA.
    Ogre::DataStreamPtr encode(const Ogre::Any& input) const override;
    // Written whole or not at all; throws Ogre::Exception on failure.
    void encodeToFile(const Ogre::Any& input, const Ogre::String& outFileName) const override;

private:
    // The plug-in's codec taken out of the registry, borrowed: the plug-in deletes it when
    // it is unloaded.
    Ogre::Codec* replaced = nullptr;
};
