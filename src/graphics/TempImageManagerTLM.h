// The disk cache of tile lightmaps shared by every track, in "tmp/<name>/" of the per-user
// folder: one file key + ".png" per tile type and sub-mesh ("<tile type>_<index>").
#pragma once

#include "graphics/ImageCacheFolder.h"

#include <OGRE/OgreTexture.h>

#include <memory>
#include <string>

class ToyPicture;

class TempImageManagerTLM
{
public:
    // name: the cache's folder and group suffix ("lightmaps" for the tile lightmaps);
    // savePath: the per-user folder (ending in "/") the cache lives in.
    TempImageManagerTLM(const std::string& name, const std::string& savePath);
    virtual ~TempImageManagerTLM();

    bool exists(const std::string& key) const;
    // The cached image as a texture; null when there is none.
    Ogre::TexturePtr loadTexture(const std::string& key);
    Ogre::Texture* loadTexturePointer(const std::string& key);
    // False, logged, when the file can't be written (a read-only home): the race goes on.
    bool saveImage(const ToyPicture& picture, const std::string& key);
    bool loadImage(ToyPicture& picture, const std::string& key);
    // Deletes the files whose name begins with prefix; every file for an empty prefix.
    void clearAll(const std::string& prefix);

    const std::string& getFolder() const { return cache->getFolder(); }

private:
    std::string name;
    std::string extension = ".png";
    std::unique_ptr<ImageCacheFolder> cache;
};
