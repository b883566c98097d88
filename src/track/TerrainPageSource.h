// The terrain of a scene as world geometry: reads a terrain file and its heightmap, builds
// the page's render tiles with the terrain material under its own scene node, and tells
// its listeners the page's heights. One page per terrain; loading again replaces it.
#pragma once

#include "track/TerrainOptions.h"

#include <OGRE/OgreDataStream.h>
#include <OGRE/OgreMaterial.h>

#include <string>
#include <vector>

namespace Ogre
{
class ManualObject;
class SceneManager;
class SceneNode;
}

class TerrainPageSourceListener;

class TerrainPageSource
{
public:
    explicit TerrainPageSource(Ogre::SceneManager* sceneManager);
    ~TerrainPageSource();
    TerrainPageSource(const TerrainPageSource&) = delete;
    TerrainPageSource& operator=(const TerrainPageSource&) = delete;

    // Listeners are borrowed; each is told once per page built.
    void addListener(TerrainPageSourceListener* listener);
    void removeListener(TerrainPageSourceListener* listener);

    // Opens the terrain file in the world resource group, else in any group, and builds the
    // page. Throws DataFileError naming the file at fault (the old page stays then).
    void setWorldGeometry(const std::string& fileName);
    // The same from terrain-file text already open; fileName names it in errors.
    void setWorldGeometry(Ogre::DataStreamPtr& stream, const std::string& fileName);
    // Removes the page's render tiles (the material stays with the material manager).
    void clearPage();

    const TerrainOptions& getOptions() const { return options; }
    // The material the page is drawn with; null before the first page.
    const Ogre::MaterialPtr& getTerrainMaterial() const { return terrainMaterial; }
    Ogre::SceneManager* getSceneManager() const { return sceneManager; }
    size_t getRenderTileCount() const { return tiles.size(); }

    // A resource's whole content, from the world group or else any group; throws
    // DataFileError (message, file, "not found") when no group has it.
    static std::string readResource(const std::string& fileName, const std::string& message);

private:
    void build(const std::string& terrainFileText, const std::string& fileName);
    Ogre::MaterialPtr materialFor(const TerrainOptions& pageOptions, const std::string& fileName) const;
    void buildTiles(const std::vector<float>& heights);

    Ogre::SceneManager* sceneManager;
    TerrainOptions options;
    Ogre::MaterialPtr terrainMaterial;
    Ogre::SceneNode* pageNode = nullptr;
    std::vector<Ogre::ManualObject*> tiles;
    std::vector<TerrainPageSourceListener*> listeners;
};
