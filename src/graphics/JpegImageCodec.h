// The engine's image codec for JPEG files (the star map), over libjpeg, in the place of the
// engine's own: its decoded pixels come from malloc while the engine's images free them
// with delete[]. Decodes only; the game writes no JPEG.
#pragma once

#include <OGRE/OgreImageCodec.h>

class JpegImageCodec : public Ogre::ImageCodec
{
public:
    // Puts the codec in the engine's place for "jpg" and "jpeg" (after every start of the
    // engine, once its codec plug-in is loaded).
    static void install();

    explicit JpegImageCodec(const char* type) : type(type) {}
    Ogre::String getType() const override { return type; }
    Ogre::String magicNumberToFileExt(const char* magicNumber, size_t maxBytes) const override;
    // output: the Ogre::Image* to fill, as 8-bit grey or RGB. Throws Ogre::Exception for a
    // damaged file or one claiming a size no texture has.
    void decode(const Ogre::DataStreamPtr& input, const Ogre::Any& output) const override;
    // Not offered: throws.
    Ogre::DataStreamPtr encode(const Ogre::Any& input) const override;
    void encodeToFile(const Ogre::Any& input, const Ogre::String& outFileName) const override;

private:
    const char* type;
    // The plug-in's codec taken out of the registry, borrowed: the plug-in deletes it when
    // it is unloaded.
    Ogre::Codec* replaced = nullptr;
};
