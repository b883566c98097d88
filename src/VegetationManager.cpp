// Building the race's vegetation.
#include "VegetationManager.h"

#include "DesertTreeLoader.h"
#include "GameConfiguration.h"
#include "GameScene.h"
#include "GrassLoaderSR.h"
#include "GrassTreeLoader.h"
#include "graphics/OgreToyPicture.h"
#include "graphics/TempImageManager.h"
#include "graphics/ToyPictureGrey.h"
#include "graphics/ToyPictureRGBA.h"
#include "paging/BatchPage.h"
#include "paging/GeometryPager.h"
#include "paging/GrassPage.h"
#include "paging/ImpostorPage.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreRoot.h>

namespace
{
constexpr float kTreePageSize = 50.0f;  // world units
constexpr float kGrassPageSize = 50.0f;  // world units
constexpr float kGrassRange = 100.0f;    // world units: no blade farther from the camera
constexpr uint8_t kGrassQueue = 50;      // the main queue, with the terrain
const char* const kGrassColours = "map1_TX_new3_grass.png";
const char* const kGrassColourTexture = "VG_Grass_Color_Map";
constexpr uint32_t kGrassColourSize = 1024;  // pixels, the colour map's side
const char* const kLowResources = "resources_low.cfg";
constexpr uint32_t kImpostorPixels = 128;    // one picture of an atlas, each side
constexpr uint32_t kLowImpostorPixels = 64;  // with the low-detail resources

float terrainSize(const TerrainObject& terrain)
{
    return (terrain.getPageSize() - 1.0f) * terrain.getHorizontalScale();
}

// A pager of the given page size over the whole terrain, following the camera.
std::unique_ptr<GeometryPager> terrainPager(Ogre::Camera* camera, float pageSize, const TerrainObject& terrain)
{
    auto pager = std::make_unique<GeometryPager>(camera, pageSize);
    const float size = terrainSize(terrain);
    pager->setBounds(TBounds(0.0f, 0.0f, size, size));
    return pager;
}
}

VegetationManager::VegetationManager() = default;

VegetationManager::~VegetationManager()
{
    // The pages unload through the loader: they go first, the loader before its geometry.
    if (grassGeometry)
        grassGeometry->removeDetailLevels();
    grassLoader.reset();
    grassGeometry.reset();
    if (treeGeometry)
        treeGeometry->removeDetailLevels();
    treeLoader.reset();
    treeGeometry.reset();
    grassColourTexture.reset();
    grassColourPicture.reset();
}

VegetationPlan VegetationManager::planFor(const GameScene& scene)
{
    const GameConfiguration& config = scene.getSettings();
    return VegetationPlanning::plan(scene.getTerrainObject()->getName(), config.getTreeDensity(),
                                    config.getGrassDensity());
}

void VegetationManager::log(const std::string& text) const
{
    if (plan.kind == VegetationKind::Grass)
        Ogre::LogManager::getSingleton().logMessage(text);
}

void VegetationManager::init(GameScene& scene, Ogre::Camera* camera, MapObject& track)
{
    plan = planFor(scene);
    if (plan.kind == VegetationKind::None)
        return;
    if (plan.hasTrees())
    {
        log("init trees ... ");
        buildTrees(scene, camera, track);
        log("init trees ... done");
    }
    if (plan.grassDensity > 0.0f)
    {
        log("init grass ...");
        buildGrass(scene, camera, track);
        log("init grass ... done");
    }
    update();
}

void VegetationManager::buildTrees(GameScene& scene, Ogre::Camera* camera, MapObject& track)
{
    TerrainObject* terrain = scene.getTerrainObject();
    treeGeometry = terrainPager(camera, kTreePageSize, *terrain);
    const TBounds bounds = treeGeometry->getBounds();
    treeGeometry->addDetailLevel<BatchPage>(plan.batchRange, 0.0f);
    treeGeometry->addDetailLevel<ImpostorPage>(plan.impostorRange, 0.0f);
    const GameConfiguration& config = scene.getSettings();
    ImpostorPage::setImpostorResolution(config.getResourcesFile() == kLowResources ? kLowImpostorPixels
                                                                                   : kImpostorPixels);
    // The atlases are rendered once and kept with the player's other caches.
    const std::string savePath = config.getSavePath();
    treeGeometry->setImpostorCacheFolder(savePath.empty() ? std::string() : savePath + "tmp/");

    TreeLoader::Ground ground;
    ground.sceneManager = scene.getSceneManager();
    ground.physics = scene.getPhysicBase();
    ground.coverage = [&track](float x, float z) { return track.getCoverage(x, z); };
    ground.height = [terrain](float x, float z) { return terrain->getHeight(x, z); };
    ground.lightmap = config.isLightMapsEnabled() ? scene.getLightmapPicture() : nullptr;
    ground.lightmapHasTrees = scene.lightmapHasTrees();
    ground.cache = scene.getImageCache();
    ground.lightmapCacheName = plan.lightmapName();
    if (plan.kind == VegetationKind::Grass)
        treeLoader = std::make_unique<GrassTreeLoader>("GrassTrees", treeGeometry.get(), bounds, std::move(ground),
                                                       plan.treeCount);
    else
        treeLoader = std::make_unique<DesertTreeLoader>("DesertTrees", treeGeometry.get(), bounds, std::move(ground),
                                                        plan.treeCount);
    treeGeometry->setPageLoader(treeLoader.get());
    treeLoader->createTrees();
}

void VegetationManager::buildGrass(GameScene& scene, Ogre::Camera* camera, MapObject& track)
{
    TerrainObject* terrain = scene.getTerrainObject();
    grassGeometry = terrainPager(camera, kGrassPageSize, *terrain);
    const TBounds bounds = grassGeometry->getBounds();
    grassGeometry->addDetailLevel<GrassPage>(kGrassRange, 0.0f);
    grassLoader = std::make_unique<GrassLoaderSR>(grassGeometry.get());
    grassLoader->setTerrainObject(terrain);
    grassLoader->setMapObject(&track);
    grassLoader->setRenderQueueGroup(kGrassQueue);

    const bool desert = plan.kind == VegetationKind::Desert;
    GrassLayer* layer = grassLoader->addLayer(desert ? "GRAS/gras5.png" : "GRAS/gras4.png");
    layer->setDensity(plan.grassDensity);  // blades per square unit, the plan's
    if (desert)
    {
        layer->setMaximumSize(2.0f, 0.8f);
        layer->setMinimumSize(1.5f, 0.4f);
    }
    else
    {
        layer->setMaximumSize(1.2f, 0.6f);
        layer->setMinimumSize(1.0f, 0.4f);
    }
    layer->setRenderTechnique(GRASSTECH_QUAD, true);
    layer->setAnimationEnabled(true);
    layer->setSwayLength(0.2f);
    layer->setSwaySpeed(0.5f);
    layer->setSwayDistribution(10.0f);
    setGrassColours(scene, *layer);
    log("init grass [last steps]...");
    layer->setMapBounds(bounds);
    grassGeometry->setPageLoader(grassLoader.get());
}

void VegetationManager::setGrassColours(GameScene& scene, GrassLayer& layer)
{
    ToyPictureGrey* lightmap = scene.getSettings().isLightMapsEnabled() ? scene.getLightmapPicture() : nullptr;
    const bool desert = plan.kind == VegetationKind::Desert;
    if (!lightmap)
    {
        // Without lightmaps the desert's sand-coloured blades keep their own colour.
        if (!desert)
            layer.setColorMap(kGrassColours, CHANNEL_COLOR);
        return;
    }
    // Without a render system (tools, tests) there are no textures to tint with.
    const bool textures = Ogre::Root::getSingleton().getRenderSystem() != nullptr;
    if (desert)
    {
        if (!textures)
            return;
        grassColourTexture = std::make_unique<OgreToyPicture>(kGrassColourTexture, lightmap, true);
        layer.setColorMap(grassColourTexture->getTexture(), CHANNEL_COLOR);
        grassColourTexture.reset();
        return;
    }
    log("init grass [load image]...");
    grassColourPicture = std::make_unique<ToyPictureRGBA>();
    TempImageManager* cache = scene.getImageCache();
    const bool cached = cache && cache->loadImage(*grassColourPicture, plan.grassColorMapName());
    if (!cached)
    {
        if (!grassColourPicture->loadFromFile(kGrassColours, kGrassColourSize, kGrassColourSize, Ogre::RGN_DEFAULT))
            OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND,
                        std::string("Cannot load the picture '") + kGrassColours + "'", "VegetationManager::setGrassColours");
        log("init grass [multiply image]...");
        grassColourPicture->multiplyRegion(0, 0, *lightmap);
        if (cache)
            cache->saveImage(*grassColourPicture, plan.grassColorMapName());
        log("init grass [convert image]...");
    }
    if (textures)
    {
        grassColourTexture = std::make_unique<OgreToyPicture>(kGrassColourTexture, grassColourPicture.get(), false);
        if (!cached)
            log("init grass [set color map]...");
        layer.setColorMap(grassColourTexture->getTexture(), CHANNEL_COLOR);
    }
    // The layer keeps the colours it read from the texture: neither the texture nor its
    // picture is drawn or read again.
    grassColourTexture.reset();
    grassColourPicture.reset();
}

void VegetationManager::update()
{
    if (treeGeometry)
        treeGeometry->update();
    if (grassGeometry)
        grassGeometry->update();
}
