// Uploads a picture into an engine texture as its manual loader: the texture is filled from
// the picture every time the engine loads or reloads it.
#pragma once

#include <OGRE/OgreResource.h>
#include <OGRE/OgreTexture.h>

#include <string>

class ToyPicture;

class OgreToyPicture : public Ogre::ManualResourceLoader
{
public:
    // picture is borrowed and must outlive every load of the texture; grey uploads 8-bit
    // luminance, otherwise 32-bit colour.
    OgreToyPicture(const std::string& name, ToyPicture* picture, bool grey);
    // Removes the texture from the engine; the picture is left alone.
    ~OgreToyPicture() override;
    OgreToyPicture(const OgreToyPicture&) = delete;
    OgreToyPicture& operator=(const OgreToyPicture&) = delete;

    // Creates the texture once, replacing any texture of the same name.
    void createTexture();
    // Creates and loads the texture on first use.
    Ogre::TexturePtr getTexture();
    // The engine's callback: copies the picture's pixels as they are now into the texture.
    void loadResource(Ogre::Resource* resource) override;

private:
    ToyPicture* picture;
    Ogre::TexturePtr texture;
    std::string name;
    bool grey;
};
