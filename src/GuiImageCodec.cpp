// Image files for the GUI, decoded by the engine.
#include "GuiImageCodec.h"

#include <CEGUI/RendererModules/Ogre/Texture.h>
#include <OGRE/OgreDataStream.h>
#include <OGRE/OgreImage.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreTextureManager.h>

namespace
{
unsigned textureCounter = 0;

// The engine's image codec doesn't sniff the format from the bytes; the file signature tells.
std::string fileTypeOf(const CEGUI::RawDataContainer& data)
{
    const CEGUI::uint8* bytes = data.getDataPtr();
    if (data.getSize() >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
        return "png";
    if (data.getSize() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8)
        return "jpg";
    return "";
}
}

GuiImageCodec::GuiImageCodec() : CEGUI::ImageCodec("Quillmor GUI image codec")
{
}

CEGUI::Texture* GuiImageCodec::load(const CEGUI::RawDataContainer& data, CEGUI::Texture* result)
{
    try
    {
        Ogre::DataStreamPtr stream(
            new Ogre::MemoryDataStream(const_cast<CEGUI::uint8*>(data.getDataPtr()), data.getSize(), false, true));
        Ogre::Image image;
        image.load(stream, fileTypeOf(data));
        Ogre::TexturePtr texture = Ogre::TextureManager::getSingleton().loadImage(
            "GuiImage" + std::to_string(++textureCounter), Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME,
            image, Ogre::TEX_TYPE_2D, 0);
        // CEGUI owns the texture from here and removes it with its own texture.
        static_cast<CEGUI::OgreTexture*>(result)->setOgreTexture(texture, true);
        return result;
    }
    catch (const Ogre::Exception& error)
    {
        Ogre::LogManager::getSingleton().logMessage("GUI image not loaded: " + error.getDescription());
        return nullptr;
    }
}
