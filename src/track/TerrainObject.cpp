// Terrain loading, height queries and the lightmap mesh.
#include "track/TerrainObject.h"

#include "XMLParser.h"
#include "track/DataFileError.h"
#include "track/TerrainConfig.h"
#include "track/TerrainGrid.h"
#include "track/TerrainPageSource.h"

#include <OGRE/Ogre.h>

#include <algorithm>

TerrainObject::TerrainObject(Ogre::SceneManager* sceneManager, TerrainPageSource* pageSource)
    : sceneManager(sceneManager), pageSource(pageSource)
{
}

TerrainObject::~TerrainObject()
{
    destroyMesh();
}

void TerrainObject::load(const std::string& terrainName, const std::string& terrainListPath, const std::string& askedBy)
{
    XMLParser* parser = XMLParser::getInstance();
    TerrainDescs terrains = parser->loadTerrainDescMap(terrainListPath);
    const auto entry = terrains.find(terrainName);
    if (entry == terrains.end())
        throw DataFileError(terrainListPath, kNotFound,
                            "no terrain named '" + terrainName + "'" +
                                (askedBy.empty() ? std::string() : ", which the track " + askedBy + " asks for"));
    const std::string file = entry->second.file;
    parser->deleteTerrainDescs(terrains);
    pageSource->setWorldGeometry(file);
    terrainFile = file;
    name = terrainName;
}

void TerrainObject::pageConstructed(TerrainPageSource* source, size_t, size_t, const float* heightData)
{
    constructedBy = source;
    terrainMaterial = source->getTerrainMaterial();
    options = source->getOptions();
    pageSize = options.pageSize;
    horizontalScale = options.scale.x;
    verticalScale = options.scale.y;
    const std::vector<float> newHeights(heightData, heightData + static_cast<size_t>(pageSize) * pageSize);
    // A page rebuilt with another material keeps its mesh; a mesh of other heights goes.
    if (newHeights != heights)
        destroyMesh();
    heights = newHeights;
}

float TerrainObject::getHeight(float x, float z) const
{
    if (heights.empty())
        return 0.0f;
    const float row = z / horizontalScale, column = x / horizontalScale;
    const float lastQuad = static_cast<float>(pageSize) - 1.0f;
    // The negated test also refuses NaN.
    if (!(row >= 0.0f && row < lastQuad && column >= 0.0f && column < lastQuad))
        return 0.0f;
    const unsigned r0 = static_cast<unsigned>(row), c0 = static_cast<unsigned>(column);
    const float fr = row - r0, fc = column - c0;
    auto at = [&](unsigned r, unsigned c) { return heights[static_cast<size_t>(pageSize) * r + c]; };
    return verticalScale * ((1 - fr) * (1 - fc) * at(r0, c0) + fr * (1 - fc) * at(r0 + 1, c0) +
                            (1 - fr) * fc * at(r0, c0 + 1) + fr * fc * at(r0 + 1, c0 + 1));
}

float TerrainObject::getMaxHeight(float x, float z, float size) const
{
    const float half = size / 2;
    return std::max({0.0f, getHeight(x - half, z - half), getHeight(x - half, z + half),
                     getHeight(x + half, z - half), getHeight(x + half, z + half)});
}

Ogre::Entity* TerrainObject::getEntity()
{
    if (!terrainEntity && !heights.empty())
        buildMesh();
    return terrainEntity;
}

void TerrainObject::buildMesh()
{
    if (heights.empty())
        return;
    destroyMesh();
    const TerrainGrid::Page page{heights.data(), pageSize, horizontalScale, verticalScale};
    Ogre::ManualObject* manual = sceneManager->createManualObject("Terrain_Manual_Object");
    TerrainGrid::addSection(*manual, terrainMaterial, page, TerrainGrid::vertexNormals(page), 0, 0, pageSize);
    terrainMesh = manual->convertToMesh(kMeshName, Ogre::RGN_DEFAULT);
    sceneManager->destroyManualObject(manual);
    terrainEntity = sceneManager->createEntity(kEntityName, kMeshName, Ogre::RGN_DEFAULT);
    terrainEntity->setMaterial(terrainMaterial);
}

void TerrainObject::setCustomMaterial(const std::string& materialName)
{
    if (!constructedBy)
        return;
    const std::string text = TerrainPageSource::readResource(terrainFile, TerrainConfig::kReadError);
    const std::string rewritten = TerrainConfig::withCustomMaterial(text, materialName);
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(const_cast<char*>(rewritten.data()), rewritten.size()));
    constructedBy->setWorldGeometry(stream, terrainFile);
}

void TerrainObject::destroyMesh()
{
    if (terrainEntity)
        sceneManager->destroyEntity(terrainEntity);
    terrainEntity = nullptr;
    if (terrainMesh)
        Ogre::MeshManager::getSingleton().remove(terrainMesh);
    terrainMesh.reset();
}
