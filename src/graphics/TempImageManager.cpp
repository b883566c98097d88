// The per-track image cache.
#include "graphics/TempImageManager.h"

TempImageManager::TempImageManager(const std::string& prefix, bool standard, const std::string& savePath)
    : prefix(prefix)
{
    const std::string tmp = savePath + "tmp/";
    cache = std::make_unique<ImageCacheFolder>(
        std::vector<std::string>{tmp, tmp + "mapdata/", tmp + "stdmapdata/"},
        tmp + (standard ? "stdmapdata/" : "mapdata/"), kGroup);
}

TempImageManager::~TempImageManager() = default;

bool TempImageManager::exists(const std::string& key) const
{
    return cache->exists(fileName(key));
}

bool TempImageManager::saveImage(const ToyPicture& picture, const std::string& key)
{
    return cache->save(picture, fileName(key));
}

bool TempImageManager::loadImage(ToyPicture& picture, const std::string& key)
{
    return cache->load(picture, fileName(key));
}

Ogre::Texture* TempImageManager::loadTexture(const std::string& key)
{
    return cache->loadTexture(fileName(key)).get();
}

void TempImageManager::clearAll()
{
    // Only this track's files: "Oval.map2.Lightmap.png" belongs to another track.
    const std::string ownStart = prefix + ".";
    cache->removeFiles([&ownStart](const std::string& name) { return name.compare(0, ownStart.size(), ownStart) == 0; });
}
