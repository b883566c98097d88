// The terrain of a race: loads a terrain of the terrain list by name, keeps a copy of the
// page's heights and scales, answers height queries from that copy, and can build the
// terrain once more as one mesh entity ("Terrain_Entity") for lightmap baking.
#pragma once

#include "physic/TerrainHeights.h"
#include "track/TerrainOptions.h"
#include "track/TerrainPageSourceListener.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreVector.h>

#include <string>
#include <vector>

namespace Ogre
{
class Entity;
class SceneManager;
}

class TerrainPageSource;

class TerrainObject : public TerrainPageSourceListener, public TerrainHeights
{
public:
    static constexpr const char* kTerrainListPath = "../media/terrain/TerrainList.xml";
    static constexpr const char* kNotFound = "Requested terrain could not be found!";
    static constexpr const char* kMeshName = "Terrain_Mesh";
    static constexpr const char* kEntityName = "Terrain_Entity";

    // The page source builds the race's terrain pages; the scene manager owns the entity.
    // The caller registers this object with the source as its listener.
    TerrainObject(Ogre::SceneManager* sceneManager, TerrainPageSource* pageSource);
    ~TerrainObject() override;
    TerrainObject(const TerrainObject&) = delete;
    TerrainObject& operator=(const TerrainObject&) = delete;

    // Throws DataFileError: kNotFound (naming the list, and the track file askedBy when
    // given) for a name not in the list, or the list's or terrain file's own error.
    void load(const std::string& name, const std::string& terrainListPath = kTerrainListPath,
              const std::string& askedBy = "");
    void pageConstructed(TerrainPageSource* source, size_t pageX, size_t pageZ, const float* heightData) override;

    const std::string& getName() const { return name; }
    const std::string& getTerrainFile() const { return terrainFile; }
    float getPageSize() const override { return static_cast<float>(pageSize); }
    float getHorizontalScale() const override { return horizontalScale; }
    float getVerticalScale() const override { return verticalScale; }
    // n x n heights 0..1 (row = z sample); null before a page is constructed.
    const float* getHeightData() const override { return heights.empty() ? nullptr : heights.data(); }

    // World height at (x, z), bilinear between the samples; 0 off the terrain.
    float getHeight(float x, float z) const;
    float getHeight(const Ogre::Vector2& point) const { return getHeight(point.x, point.y); }
    // The largest of 0 and the heights at the four corners of the square of side size.
    float getMaxHeight(float x, float z, float size) const override;

    // The mesh entity, built on first use; null before a page is constructed.
    Ogre::Entity* getEntity();
    void buildMesh();
    // Rebuilds the page from the terrain file with "CustomMaterialName" set to materialName.
    void setCustomMaterial(const std::string& materialName);
    // Destroys the entity and the mesh; the heights stay for height queries.
    void destroyMesh();

private:
    std::vector<float> heights;
    TerrainOptions options;
    unsigned pageSize = 0;
    float horizontalScale = 0.0f;
    float verticalScale = 0.0f;
    std::string name;
    Ogre::MeshPtr terrainMesh;
    Ogre::Entity* terrainEntity = nullptr;
    Ogre::MaterialPtr terrainMaterial;
    Ogre::SceneManager* sceneManager;
    TerrainPageSource* pageSource;
    TerrainPageSource* constructedBy = nullptr;  // the source of the page we hold, if any
    std::string terrainFile;
};
