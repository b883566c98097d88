// The terrain of a scene as world geometry: reads a terrain file and its heightmap, builds
// the page's render tiles with the terrain material under its own scene node, and tells
// its listeners the page's heights. One page per terrain; loading again replaces it.
// Each render tile is built at several levels of detail; a far tile whose hills would look
// the same drawn coarser is drawn coarser, which makes the terrain far fewer triangles.
#pragma once

#include "track/TerrainOptions.h"

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreDataStream.h>
#include <OGRE/OgreMaterial.h>

#include <string>
#include <vector>

namespace Ogre
{
class Camera;
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

    // The height error, in pixels, under which a tile may be drawn coarser.
    static constexpr float kPixelTolerance = 1.5f;
    // Shows each render tile at the coarsest level whose height error, seen from the camera
    // in a view of that many pixels' height, stays within the tolerance. Until the first call
    // every tile shows all its samples. (Not the camera's own viewport: the camera keeps a
    // pointer to the last one it drew into, which the menus may have destroyed.)
    void updateLevels(const Ogre::Camera& camera, float viewHeight);
    // Per tile, row by row: the level shown (level k draws every 2^k-th sample).
    std::vector<unsigned> getShownLevels() const;
    // The coarsest level such a tile may be shown at.
    static unsigned coarsestLevel(unsigned tileSize);
    // The coarsest level whose error (world units, one per level, never decreasing) stays
    // within the tolerance at that distance, for a view of that many pixels per unit of
    // size at unit distance.
    static unsigned levelFor(const std::vector<float>& errors, float distance, float pixelsPerUnit);

    // A resource's whole content, from the world group or else any group; throws
    // DataFileError (message, file, "not found") when no group has it.
    static std::string readResource(const std::string& fileName, const std::string& message);

private:
    void build(const std::string& terrainFileText, const std::string& fileName);
    Ogre::MaterialPtr materialFor(const TerrainOptions& pageOptions, const std::string& fileName) const;
    void buildTiles(const std::vector<float>& heights);

    struct RenderTile
    {
        std::vector<Ogre::ManualObject*> levels;  // level k draws every 2^k-th sample
        std::vector<float> errors;                // per level: how far it strays from level 0
        Ogre::AxisAlignedBox bounds;
        unsigned shown = 0;
    };

    Ogre::SceneManager* sceneManager;
    TerrainOptions options;
    Ogre::MaterialPtr terrainMaterial;
    Ogre::SceneNode* pageNode = nullptr;
    std::vector<RenderTile> tiles;
    std::vector<TerrainPageSourceListener*> listeners;
};
