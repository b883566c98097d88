// Building a terrain page from its file.
#include "track/TerrainPageSource.h"

#include "track/DataFileError.h"
#include "track/HeightmapImage.h"
#include "track/TerrainConfig.h"
#include "track/TerrainGrid.h"
#include "track/TerrainPageSourceListener.h"

#include <OGRE/Ogre.h>

#include <algorithm>
#include <cmath>

namespace
{
const std::string kPageNodeName = "Terrain_Page";
const std::string kTileNamePrefix = "Terrain_Tile_";
}

TerrainPageSource::TerrainPageSource(Ogre::SceneManager* sceneManager) : sceneManager(sceneManager) {}

TerrainPageSource::~TerrainPageSource()
{
    clearPage();
}

void TerrainPageSource::addListener(TerrainPageSourceListener* listener)
{
    if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void TerrainPageSource::removeListener(TerrainPageSourceListener* listener)
{
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

std::string TerrainPageSource::readResource(const std::string& fileName, const std::string& message)
{
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    const std::string& worldGroup = groups.getWorldResourceGroupName();
    std::string group;
    if (groups.resourceExists(worldGroup, fileName))
        group = worldGroup;
    else if (groups.resourceExistsInAnyGroup(fileName))
        group = groups.findGroupContainingResource(fileName);
    else
        throw DataFileError(fileName, message, "not found in any resource location");
    return groups.openResource(fileName, group)->getAsString();
}

void TerrainPageSource::setWorldGeometry(const std::string& fileName)
{
    build(readResource(fileName, TerrainConfig::kReadError), fileName);
}

void TerrainPageSource::setWorldGeometry(Ogre::DataStreamPtr& stream, const std::string& fileName)
{
    build(stream->getAsString(), fileName);
}

void TerrainPageSource::build(const std::string& terrainFileText, const std::string& fileName)
{
    // Everything that can fail comes first, so a bad file leaves the old page standing.
    const TerrainOptions pageOptions = TerrainConfig::parse(terrainFileText, fileName);
    const std::string heightmapBytes = readResource(pageOptions.heightmapImage, TerrainConfig::kReadError);
    const std::vector<float> heights =
        HeightmapImage::decode(heightmapBytes, pageOptions.heightmapImage, pageOptions.pageSize);
    Ogre::MaterialPtr material = materialFor(pageOptions, fileName);

    clearPage();
    options = pageOptions;
    terrainMaterial = material;
    buildTiles(heights);
    for (TerrainPageSourceListener* listener : std::vector<TerrainPageSourceListener*>(listeners))
        listener->pageConstructed(this, 0, 0, heights.data());
}

Ogre::MaterialPtr TerrainPageSource::materialFor(const TerrainOptions& pageOptions, const std::string& fileName) const
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (!pageOptions.customMaterialName.empty())
    {
        Ogre::MaterialPtr custom = materials.getByName(pageOptions.customMaterialName);
        if (!custom)
            throw DataFileError(fileName, TerrainConfig::kReadError,
                                "CustomMaterialName '" + pageOptions.customMaterialName + "' is no known material");
        return custom;
    }
    // Without a material of its own the page shows its colour texture with the grain over it.
    const std::string name = "Terrain/" + fileName;
    if (materials.resourceExists(name, Ogre::RGN_DEFAULT))
        materials.remove(name, Ogre::RGN_DEFAULT);
    Ogre::MaterialPtr material = materials.create(name, Ogre::RGN_DEFAULT);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    if (!pageOptions.worldTexture.empty())
        pass->createTextureUnitState(pageOptions.worldTexture)->setTextureAddressingMode(Ogre::TAM_CLAMP);
    if (!pageOptions.detailTexture.empty())
    {
        Ogre::TextureUnitState* detail = pass->createTextureUnitState(pageOptions.detailTexture);
        detail->setTextureScale(1.0f / pageOptions.detailTile, 1.0f / pageOptions.detailTile);
        detail->setColourOperationEx(Ogre::LBX_MODULATE_X2, Ogre::LBS_TEXTURE, Ogre::LBS_CURRENT);
    }
    return material;
}

unsigned TerrainPageSource::coarsestLevel(unsigned tileSize)
{
    // Down to four quads a side: coarser saves next to nothing.
    unsigned level = 0;
    while ((tileSize - 1) % (2u << level) == 0 && (tileSize - 1) / (2u << level) >= 4)
        ++level;
    return level;
}

unsigned TerrainPageSource::levelFor(const std::vector<float>& errors, float distance, float pixelsPerUnit)
{
    unsigned level = 0;
    while (level + 1 < errors.size() && errors[level + 1] * pixelsPerUnit <= kPixelTolerance * distance)
        ++level;
    return level;
}

void TerrainPageSource::buildTiles(const std::vector<float>& heights)
{
    const TerrainGrid::Page page{heights.data(), options.pageSize, options.scale.x, options.scale.y};
    const std::vector<Ogre::Vector3> normals = TerrainGrid::vertexNormals(page);
    pageNode = sceneManager->getRootSceneNode()->createChildSceneNode(kPageNodeName);
    const unsigned step = options.tileSize - 1;
    const unsigned levels = coarsestLevel(options.tileSize) + 1;
    float worstError = 0.0f;
    for (unsigned row = 0; row + 1 < options.pageSize; row += step)
        for (unsigned column = 0; column + 1 < options.pageSize; column += step)
        {
            RenderTile tile;
            for (unsigned level = 0; level < levels; ++level)
            {
                const float error = TerrainGrid::levelError(page, row, column, options.tileSize, 1u << level);
                tile.errors.push_back(std::max(error, level > 0 ? tile.errors.back() : 0.0f));
            }
            worstError = std::max(worstError, tile.errors.back());
            tiles.push_back(tile);
        }
    // Two neighbours' edges drawn at different levels part by at most the worse one's error.
    const float skirtDepth = worstError * 1.1f;
    size_t index = 0;
    for (unsigned row = 0; row + 1 < options.pageSize; row += step)
        for (unsigned column = 0; column + 1 < options.pageSize; column += step)
        {
            RenderTile& tile = tiles[index++];
            const std::string name = kTileNamePrefix + std::to_string(row / step) + "_" + std::to_string(column / step);
            for (unsigned level = 0; level < levels; ++level)
            {
                Ogre::ManualObject* object =
                    sceneManager->createManualObject(level == 0 ? name : name + "_" + std::to_string(level));
                TerrainGrid::addLevelSection(*object, terrainMaterial, page, normals, row, column, options.tileSize,
                                             1u << level, levels > 1 ? skirtDepth : 0.0f);
                object->setVisible(level == 0);
                pageNode->attachObject(object);
                tile.levels.push_back(object);
            }
            tile.bounds = tile.levels.front()->getBoundingBox();
        }
}

void TerrainPageSource::updateLevels(const Ogre::Camera& camera, float viewHeight)
{
    const float pixelsPerUnit = viewHeight / (2.0f * std::tan(camera.getFOVy().valueRadians() / 2.0f));
    const Ogre::Vector3 eye = camera.getDerivedPosition();
    for (RenderTile& tile : tiles)
    {
        const unsigned level = levelFor(tile.errors, tile.bounds.distance(eye), pixelsPerUnit);
        if (level == tile.shown)
            continue;
        tile.levels[tile.shown]->setVisible(false);
        tile.levels[level]->setVisible(true);
        tile.shown = level;
    }
}

std::vector<unsigned> TerrainPageSource::getShownLevels() const
{
    std::vector<unsigned> shown;
    for (const RenderTile& tile : tiles)
        shown.push_back(tile.shown);
    return shown;
}

void TerrainPageSource::clearPage()
{
    for (const RenderTile& tile : tiles)
        for (Ogre::ManualObject* object : tile.levels)
            sceneManager->destroyManualObject(object);
    tiles.clear();
    if (pageNode)
        sceneManager->destroySceneNode(pageNode);
    pageNode = nullptr;
}
