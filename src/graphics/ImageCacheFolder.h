// One folder of cached PNG images below the per-user folder, shared by the image caches:
// creates the folder, offers it to the engine as a resource location, and reads, writes and
// deletes its files by path, so that a file written in this run is found at once and two
// caches never read each other's files. A folder that can't be written only costs the cache.
#pragma once

#include <OGRE/OgreTexture.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

class ToyPicture;

class ImageCacheFolder
{
public:
    // parents are made first, in order, then folder; every path ends in "/".
    ImageCacheFolder(const std::vector<std::string>& parents, const std::string& folder, const std::string& group);
    // Withdraws the resource location; the files stay.
    ~ImageCacheFolder();
    ImageCacheFolder(const ImageCacheFolder&) = delete;
    ImageCacheFolder& operator=(const ImageCacheFolder&) = delete;

    const std::string& getFolder() const { return folder; }
    bool exists(const std::string& fileName) const;
    // False, logged, when the file can't be written: the caller goes on without the cache.
    bool save(const ToyPicture& picture, const std::string& fileName) const;
    // False, picture unchanged, when the file is missing or unreadable.
    bool load(ToyPicture& picture, const std::string& fileName) const;
    // The file as a 2D texture of the cache's group, replacing an older texture of the same
    // file; null, logged, when the file is missing or unreadable or no renderer runs. A file
    // this cache loaded before and that is unchanged since gives the same texture again.
    Ogre::TexturePtr loadTexture(const std::string& fileName);
    // Deletes every plain file of the folder whose name passes the test.
    void removeFiles(const std::function<bool(const std::string&)>& selected) const;

private:
    // A texture this cache made, with the size and time of the file it was made from.
    struct LoadedTexture
    {
        Ogre::TexturePtr texture;
        long long fileBytes = 0;
        long long fileTimeNs = 0;
    };

    // Whether the file is the one the kept texture was made from, and still its manager's.
    bool isCurrent(const std::string& fileName, const LoadedTexture& loaded) const;

    std::string folder;
    std::string group;
    bool registered = false;
    // Many track tiles share one lightmap file: each is decoded and uploaded once per load.
    std::map<std::string, LoadedTexture> loadedTextures;
};
