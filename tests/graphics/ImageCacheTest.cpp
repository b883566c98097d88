// The per-track and tile lightmap image caches: file names, folders, same-run round trips,
// separation of user and built-in tracks, clearing, and a cache that cannot be written.
#include "HeadlessOgre.h"
#include "OfflineEngine.h"
#include "TempFolder.h"
#include "graphics/TempImageManager.h"
#include "graphics/TempImageManagerTLM.h"
#include "graphics/ToyPictureGrey.h"

#include <OGRE/OgreResourceGroupManager.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
bool isFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class ImageCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HeadlessOgre::root();
        OfflineEngine::loadImageCodecs();
        picture.clear(0);
        for (std::uint32_t x = 0; x < 6; ++x)
            picture.setGrey(x, 1, static_cast<std::uint8_t>(40 * x + 17));
    }

    std::vector<std::string> filesIn(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const char* candidate : {"Oval.map.Lightmap.png", "Oval.map.GrassColorMap7.png", "Oval.map2.Lightmap.png",
                                      "Other.map.Lightmap.png", "Curve_0.png", "Curve_1.png", "Straight_0.png"})
            if (isFile(folder + candidate))
                names.push_back(candidate);
        return names;
    }

    TempFolder home;
    ToyPictureGrey picture{6, 3};
};

TEST_F(ImageCacheTest, FilesAreNamedByPrefixAndKeyInTheirFolder)
{
    struct Case
    {
        const char* what;
        bool standard;
        const char* expectedFile;
    };
    const Case cases[] = {
        {"user track", false, "tmp/mapdata/Oval.map.Lightmap.png"},
        {"built-in track", true, "tmp/stdmapdata/Oval.map.Lightmap.png"},
    };
    for (const Case& c : cases)
    {
        TempImageManager cache("Oval.map", c.standard, home.path());
        EXPECT_FALSE(cache.exists("Lightmap")) << c.what;
        ASSERT_TRUE(cache.saveImage(picture, "Lightmap")) << c.what;
        EXPECT_TRUE(isFile(home.path() + c.expectedFile)) << c.what;
        EXPECT_EQ(home.path() + (c.standard ? "tmp/stdmapdata/" : "tmp/mapdata/"), cache.getFolder()) << c.what;
    }

    TempImageManagerTLM tiles("lightmaps", home.path());
    ASSERT_TRUE(tiles.saveImage(picture, "Curve_0"));
    EXPECT_TRUE(isFile(home.path() + "tmp/lightmaps/Curve_0.png"));
}

TEST_F(ImageCacheTest, SavedImageIsFoundAgainInTheSameRun)
{
    TempImageManager track("Oval.map", true, home.path());
    TempImageManagerTLM tiles("lightmaps", home.path());
    ASSERT_TRUE(track.saveImage(picture, "Lightmap"));
    ASSERT_TRUE(tiles.saveImage(picture, "Curve_0"));
    EXPECT_TRUE(track.exists("Lightmap"));
    EXPECT_TRUE(tiles.exists("Curve_0"));

    ToyPictureGrey fromTrack(1, 1);
    ToyPictureGrey fromTiles(512, 512);
    ASSERT_TRUE(track.loadImage(fromTrack, "Lightmap"));
    ASSERT_TRUE(tiles.loadImage(fromTiles, "Curve_0"));
    for (const ToyPictureGrey* loaded : {&fromTrack, &fromTiles})
    {
        ASSERT_EQ(6u, loaded->getWidth());  // the file's size, whatever the picture had
        ASSERT_EQ(3u, loaded->getHeight());
        EXPECT_TRUE(std::equal(picture.getGreyData(), picture.getGreyData() + 18, loaded->getGreyData()));
    }
}

TEST_F(ImageCacheTest, UserAndBuiltInTracksNeverReadEachOthersFiles)
{
    TempImageManager user("Oval.map", false, home.path());
    TempImageManager builtIn("Oval.map", true, home.path());
    ASSERT_TRUE(user.saveImage(picture, "Lightmap"));

    ToyPictureGrey untouched(2, 2);
    untouched.clear(5);
    EXPECT_FALSE(builtIn.exists("Lightmap"));
    EXPECT_FALSE(builtIn.loadImage(untouched, "Lightmap"));
    EXPECT_EQ(2u, untouched.getWidth());
    EXPECT_EQ(5, untouched.getGreyData()[0]);
    EXPECT_TRUE(user.exists("Lightmap"));
}

TEST_F(ImageCacheTest, FolderIsOfferedToTheEngineWhileTheCacheLives)
{
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    {
        TempImageManagerTLM tiles("lightmaps", home.path());
        EXPECT_TRUE(groups.resourceLocationExists(home.path() + "tmp/lightmaps/.", "MapTempFolderlightmaps"));
    }
    EXPECT_FALSE(groups.resourceLocationExists(home.path() + "tmp/lightmaps/.", "MapTempFolderlightmaps"));
}

TEST_F(ImageCacheTest, ClearAllDeletesOnlyItsOwnFiles)
{
    TempImageManager oval("Oval.map", false, home.path());
    TempImageManager other("Other.map", false, home.path());
    TempImageManager longer("Oval.map2", false, home.path());
    ASSERT_TRUE(oval.saveImage(picture, "Lightmap"));
    ASSERT_TRUE(oval.saveImage(picture, "GrassColorMap7"));
    ASSERT_TRUE(other.saveImage(picture, "Lightmap"));
    ASSERT_TRUE(longer.saveImage(picture, "Lightmap"));
    ASSERT_EQ(0, mkdir((oval.getFolder() + "Oval.map.folder").c_str(), 0700));

    oval.clearAll();
    EXPECT_EQ((std::vector<std::string>{"Oval.map2.Lightmap.png", "Other.map.Lightmap.png"}), filesIn(oval.getFolder()));
    EXPECT_TRUE(isFolder(oval.getFolder() + "Oval.map.folder"));
}

TEST_F(ImageCacheTest, TileCacheClearsByPrefixOrEverything)
{
    TempImageManagerTLM tiles("lightmaps", home.path());
    for (const char* key : {"Curve_0", "Curve_1", "Straight_0"})
        ASSERT_TRUE(tiles.saveImage(picture, key));

    tiles.clearAll("Curve");
    EXPECT_EQ((std::vector<std::string>{"Straight_0.png"}), filesIn(tiles.getFolder()));
    tiles.clearAll("");
    EXPECT_TRUE(filesIn(tiles.getFolder()).empty());
    EXPECT_TRUE(isFolder(tiles.getFolder()));
}

TEST_F(ImageCacheTest, CacheThatCannotBeWrittenIsSkipped)
{
    // A file where the cache folder should be: no folder, whatever the user's rights.
    ASSERT_EQ(0, mkdir((home.path() + "tmp").c_str(), 0700));
    home.write("tmp/lightmaps", "");
    home.write("tmp/mapdata", "");

    TempImageManagerTLM tiles("lightmaps", home.path());
    TempImageManager track("Oval.map", false, home.path());
    EXPECT_FALSE(tiles.saveImage(picture, "Curve_0"));
    EXPECT_FALSE(track.saveImage(picture, "Lightmap"));
    EXPECT_FALSE(tiles.exists("Curve_0"));
    ToyPictureGrey untouched(2, 2);
    EXPECT_FALSE(tiles.loadImage(untouched, "Curve_0"));
    EXPECT_FALSE(track.loadImage(untouched, "Lightmap"));
    EXPECT_EQ(2u, untouched.getWidth());
    track.clearAll();
    tiles.clearAll("");
}
}
