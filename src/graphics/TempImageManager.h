// The disk cache of one track's generated images (terrain lightmap, lightmap with tree
// shadows, grass colour map) under "tmp/mapdata/" (user tracks) or "tmp/stdmapdata/"
// (built-in tracks) of the per-user folder: files prefix + "." + key + ".png".
#pragma once

#include "graphics/ImageCacheFolder.h"

#include <OGRE/OgreTexture.h>

#include <memory>
#include <string>

class ToyPicture;

class TempImageManager
{
public:
    // prefix: the track's description name ("<track name>.map" for user tracks);
    // standard: a built-in track; savePath: the per-user folder (ending in "/") the cache lives in.
    TempImageManager(const std::string& prefix, bool standard, const std::string& savePath);
    virtual ~TempImageManager();

    bool exists(const std::string& key) const;
    // False, logged, when the file can't be written (a read-only home): the race goes on.
    bool saveImage(const ToyPicture& picture, const std::string& key);
    // True when the picture was filled from the cache (taking the file's size).
    bool loadImage(ToyPicture& picture, const std::string& key);
    // The cached image as a texture kept by the texture manager; null when there is none.
    Ogre::Texture* loadTexture(const std::string& key);
    // Deletes every cached image of this track: the files prefix + "." + anything.
    void clearAll();

    // Where the files live, ending in "/".
    const std::string& getFolder() const { return cache->getFolder(); }
    static constexpr const char* kGroup = "MapTempFolder";

private:
    std::string fileName(const std::string& key) const { return prefix + "." + key + extension; }

    std::string prefix;
    std::string extension = ".png";
    std::unique_ptr<ImageCacheFolder> cache;
};
