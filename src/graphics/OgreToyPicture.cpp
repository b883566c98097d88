// Texture upload of pictures.
#include "graphics/OgreToyPicture.h"

#include "graphics/PictureTextureWriter.h"
#include "graphics/ToyPicture.h"

#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreTextureManager.h>

OgreToyPicture::OgreToyPicture(const std::string& name, ToyPicture* picture, bool grey)
    : picture(picture), name(name), grey(grey)
{
}

OgreToyPicture::~OgreToyPicture()
{
    Ogre::TextureManager* textures = Ogre::TextureManager::getSingletonPtr();
    if (textures && textures->resourceExists(name))
        textures->remove(name);
    texture.reset();
}

void OgreToyPicture::createTexture()
{
    if (texture)
        return;
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    if (textures.resourceExists(name))
        textures.remove(name);
    texture = textures.createManual(name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::TEX_TYPE_2D,
                                    picture->getWidth(), picture->getHeight(), 1, Ogre::MIP_DEFAULT,
                                    grey ? Ogre::PF_L8 : Ogre::PF_R8G8B8A8, Ogre::TU_DEFAULT, this);
}

Ogre::TexturePtr OgreToyPicture::getTexture()
{
    if (!texture)
    {
        createTexture();
        texture->load();
    }
    return texture;
}

void OgreToyPicture::loadResource(Ogre::Resource* resource)
{
    auto* target = static_cast<Ogre::Texture*>(resource);
    // A texture made manually needs its surfaces before its buffer can be taken.
    target->createInternalResources();
    const Ogre::HardwarePixelBufferSharedPtr& buffer = target->getBuffer(0, 0);
    if (!buffer)
        return;  // an offline texture manager has no pixels to fill
    buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
    PictureTextureWriter::write(*picture, buffer->getCurrentLock());
    buffer->unlock();
}
