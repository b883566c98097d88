// A folder of cached images, read and written by path.
#include "graphics/ImageCacheFolder.h"

#include "FolderManager.h"
#include "LogStream.h"
#include "RegularFile.h"
#include "graphics/PictureFile.h"
#include "graphics/ToyPicture.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreImage.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreTextureManager.h>

#include <cstdio>
#include <sys/stat.h>

namespace
{

// Size and modification time of a plain file; false when it is none.
bool fileStamp(const std::string& path, long long& bytes, long long& timeNs)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    bytes = static_cast<long long>(info.st_size);
    timeNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return true;
}
}

ImageCacheFolder::ImageCacheFolder(const std::vector<std::string>& parents, const std::string& folder,
                                   const std::string& group)
    : folder(folder), group(group)
{
    bool usable = true;
    for (const std::string& parent : parents)
        usable = FolderManager::folderExists(parent, true) && usable;
    usable = FolderManager::folderExists(folder, true) && usable;
    if (!usable)
    {
        debugLog() << "Image cache folder '" << folder << "' cannot be created: images are not cached" << std::endl;
        return;
    }
    try
    {
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(folder + ".", "FileSystem", group, false);
        registered = true;
    }
    catch (const Ogre::Exception& exception)
    {
        debugLog() << "Image cache folder '" << folder << "' not offered to the engine: " << exception.getDescription()
                   << std::endl;
    }
}

ImageCacheFolder::~ImageCacheFolder()
{
    Ogre::ResourceGroupManager* groups = Ogre::ResourceGroupManager::getSingletonPtr();
    if (registered && groups && groups->resourceGroupExists(group))
        groups->removeResourceLocation(folder + ".", group);
}

bool ImageCacheFolder::exists(const std::string& fileName) const
{
    return isRegularFile(folder + fileName);
}

bool ImageCacheFolder::save(const ToyPicture& picture, const std::string& fileName) const
{
    return picture.saveToFile(folder + fileName);
}

bool ImageCacheFolder::load(ToyPicture& picture, const std::string& fileName) const
{
    return exists(fileName) && picture.loadFromPath(folder + fileName, 0, 0);
}

bool ImageCacheFolder::isCurrent(const std::string& fileName, const LoadedTexture& loaded) const
{
    long long bytes = 0, timeNs = 0;
    if (!fileStamp(folder + fileName, bytes, timeNs) || bytes != loaded.fileBytes || timeNs != loaded.fileTimeNs)
        return false;
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    return textures.getByName(folder + fileName, group) == loaded.texture;
}

Ogre::TexturePtr ImageCacheFolder::loadTexture(const std::string& fileName)
{
    // Textures need a running renderer: offline tools and tests take the picture instead.
    Ogre::Root* root = Ogre::Root::getSingletonPtr();
    if (!root || !root->getRenderSystem() || !Ogre::TextureManager::getSingletonPtr())
    {
        debugLog() << "Image cache: no renderer, so no texture from '" << folder << fileName << "'" << std::endl;
        return Ogre::TexturePtr();
    }
    const auto kept = loadedTextures.find(fileName);
    if (kept != loadedTextures.end() && isCurrent(fileName, kept->second))
        return kept->second.texture;
    LoadedTexture loaded;
    Ogre::Image image;
    if (!fileStamp(folder + fileName, loaded.fileBytes, loaded.fileTimeNs) ||
        !PictureFile::readImage(folder + fileName, image))
    {
        debugLog() << "Image cache: no texture from '" << folder << fileName << "'" << std::endl;
        return Ogre::TexturePtr();
    }
    // Named by path: two caches may hold files of the same name.
    const std::string name = folder + fileName;
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    // Looked up in its own group: the cache's groups are kept out of the global pool.
    if (textures.resourceExists(name, group))
        textures.remove(name, group);
    loaded.texture = textures.loadImage(name, group, image, Ogre::TEX_TYPE_2D, Ogre::MIP_DEFAULT, 1.0f);
    loadedTextures[fileName] = loaded;
    return loaded.texture;
}

void ImageCacheFolder::removeFiles(const std::function<bool(const std::string&)>& selected) const
{
    for (const std::string& name : FolderManager::getFileList(folder))
    {
        if (name != "." && name != ".." && selected(name) && isRegularFile(folder + name))
            std::remove((folder + name).c_str());
    }
}
