// What the density and colour maps share: one registry per map type, keyed by texture name
// and channel, the three ways to load a map through it, and the reference count.
// A map type derives from SharedPropertyMap<itself> and has a constructor
// (key, pixels, channel) that may throw; the registry then keeps no entry for it.
#pragma once

#include "paging/MapChannel.h"
#include "paging/PropertyMapPixels.h"

#include <OGRE/OgreImage.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreTextureManager.h>

#include <cstdint>
#include <map>
#include <string>

template <typename Map>
class SharedPropertyMap
{
public:
    // The shared map of the texture and channel, one reference more; made on first use.
    static Map* load(const Ogre::TexturePtr& texture, MapChannel channel)
    {
        if (Map* known = find(keyOf(texture->getName(), channel)))
            return acquire(known);
        Ogre::Image image = PropertyMapPixels::readTexture(texture);
        return load(texture->getName(), image.getPixelBox(), channel);
    }

    static Map* load(const std::string& fileName, MapChannel channel)
    {
        // A texture loaded by file name is named after the file: a known map needs no texture.
        if (Map* known = find(keyOf(fileName, channel)))
            return acquire(known);
        Ogre::TexturePtr texture = Ogre::TextureManager::getSingleton().load(
            fileName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::TEX_TYPE_2D,
            Ogre::MIP_DEFAULT, 1.0f);
        return load(texture, channel);
    }

    // The same from texels already in memory, under the given texture name.
    static Map* load(const std::string& textureName, const Ogre::PixelBox& pixels,
                     MapChannel channel)
    {
        const std::string key = keyOf(textureName, channel);
        Map* map = find(key);
        return acquire(map ? map : new Map(key, pixels, channel));
    }

    // One reference less; the last one destroys the map.
    void unload()
    {
        if (--refCount == 0)
            delete static_cast<Map*>(this);
    }

    uint32_t getReferenceCount() const { return refCount; }

    SharedPropertyMap(const SharedPropertyMap&) = delete;
    SharedPropertyMap& operator=(const SharedPropertyMap&) = delete;

protected:
    // Registered from here on; a throw in the map's own constructor unregisters it again.
    explicit SharedPropertyMap(std::string mapKey) : key(std::move(mapKey))
    {
        registry()[key] = static_cast<Map*>(this);
    }
    ~SharedPropertyMap() { registry().erase(key); }

private:
    static std::map<std::string, Map*>& registry()
    {
        static std::map<std::string, Map*> maps;
        return maps;
    }
    static std::string keyOf(const std::string& textureName, MapChannel channel)
    {
        return textureName + std::to_string(static_cast<int>(channel));
    }
    static Map* find(const std::string& key)
    {
        auto found = registry().find(key);
        return found == registry().end() ? nullptr : found->second;
    }
    static Map* acquire(Map* map)
    {
        ++map->refCount;
        return map;
    }

    std::string key;  // texture name + channel number
    uint32_t refCount = 0;
};
