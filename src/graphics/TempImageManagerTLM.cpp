// The shared tile lightmap cache.
#include "graphics/TempImageManagerTLM.h"

namespace
{
const std::string kGroupStart = "MapTempFolder";
}

TempImageManagerTLM::TempImageManagerTLM(const std::string& name, const std::string& savePath) : name(name)
{
    const std::string tmp = savePath + "tmp/";
    cache = std::make_unique<ImageCacheFolder>(std::vector<std::string>{tmp}, tmp + name + "/", kGroupStart + name);
}

TempImageManagerTLM::~TempImageManagerTLM() = default;

bool TempImageManagerTLM::exists(const std::string& key) const
{
    return cache->exists(key + extension);
}

Ogre::TexturePtr TempImageManagerTLM::loadTexture(const std::string& key)
{
    return cache->loadTexture(key + extension);
}

Ogre::Texture* TempImageManagerTLM::loadTexturePointer(const std::string& key)
{
    return loadTexture(key).get();
}

bool TempImageManagerTLM::saveImage(const ToyPicture& picture, const std::string& key)
{
    return cache->save(picture, key + extension);
}

bool TempImageManagerTLM::loadImage(ToyPicture& picture, const std::string& key)
{
    return cache->load(picture, key + extension);
}

void TempImageManagerTLM::clearAll(const std::string& prefix)
{
    cache->removeFiles([&prefix](const std::string& file) { return file.compare(0, prefix.size(), prefix) == 0; });
}
