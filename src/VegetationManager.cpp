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
constexpr uint32_t kGrassColourSize = 1024;  // pixels, the colour map's side
const char* const kShadowStamp = "treeshadow.png";
const char* const kTreeTint = "map1_TX_light_new3.png";
const char* const kLowResources = "resources_low.cfg";
constexpr uint32_t kImpostorPixels = 128;    // one picture of an atlas, each side
constexpr uint32_t kLowImpostorPixels = 64;  // with the low-detail resources

void log(const std::string& text)
{
    Ogre::LogManager::getSingleton().logMessage(text);
}

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
    if (treeGeometry)
        treeGeometry->removeDetailLevels();
    treeLoader.reset();
    treeGeometry.reset();
    treeColourTexture.reset();
    if (grassGeometry)
        grassGeometry->removeDetailLevels();
    grassLoader.reset();
    grassGeometry.reset();
    grassColourTexture.reset();
}

VegetationPlan VegetationManager::planFor(const GameScene& scene)
{
    const TerrainObject* terrain = scene.getTerrainObject();
    const GameConfiguration& config = scene.getSettings();
    return VegetationPlanning::plan(terrain->getName(), terrainSize(*terrain), config.getTreeDensity(),
                                    config.getGrassDensity());
}

void VegetationManager::init(GameScene& scene, Ogre::Camera* camera, MapObject& track)
{
    plan = planFor(scene);
    if (plan.kind == VegetationKind::None)
    {
        log("No vegetation on terrain " + scene.getTerrainObject()->getName());
        return;
    }
    if (plan.hasTrees())
    {
        log("init trees ... ");
        buildTrees(scene, camera, track);
        log("init trees ... done");
    }
    commitLightmap(scene);
    if (plan.grassDensity > 0.0f)
    {
        log("init grass ...");
        buildGrass(scene, camera, track);
        log("init grass ... done");
    }
    update();
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
    const std::string colours = grassColourMap(scene);
    if (!colours.empty())
        layer->setColorMap(colours, CHANNEL_COLOR);
    // The layer keeps the colours it read from the texture: neither the texture nor its
    // picture is drawn or read again.
    grassColourTexture.reset();
    grassColourPicture.reset();
    layer->setMapBounds(bounds);
    grassGeometry->setPageLoader(grassLoader.get());
}

std::string VegetationManager::grassColourMap(GameScene& scene)
{
    const ToyPictureGrey* lightmap = scene.getLightmapPicture();
    const bool desert = plan.kind == VegetationKind::Desert;
    if (!scene.getSettings().isLightMapsEnabled() || !lightmap)
        return desert ? std::string() : kGrassColours;
    if (!Ogre::Root::getSingleton().getRenderSystem())
        return std::string();
    if (desert)
    {
        // The desert's sand-coloured blades are shaded by the lightmap alone.
        grassColourTexture = std::make_unique<OgreToyPicture>("VG_Grass_Color_Map", scene.getLightmapPicture(), true);
        return grassColourTexture->getTexture()->getName();
    }
    grassColourPicture = std::make_unique<ToyPictureRGBA>();
    TempImageManager* cache = scene.getImageCache();
    if (!cache || !cache->loadImage(*grassColourPicture, plan.grassColorMapName()))
    {
        if (!grassColourPicture->loadFromFile(kGrassColours, kGrassColourSize, kGrassColourSize, Ogre::RGN_DEFAULT))
            return kGrassColours;
        grassColourPicture->multiplyRegion(0, 0, *lightmap);
        if (cache)
            cache->saveImage(*grassColourPicture, plan.grassColorMapName());
    }
    grassColourTexture = std::make_unique<OgreToyPicture>("VG_Grass_Color_Map", grassColourPicture.get(), false);
    return grassColourTexture->getTexture()->getName();
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
    if (plan.kind == VegetationKind::Grass)
        treeLoader = std::make_unique<GrassTreeLoader>("GrassTrees", treeGeometry.get(), bounds, std::move(ground),
                                                       plan.treeCount, plan.seed);
    else
        treeLoader = std::make_unique<DesertTreeLoader>("DesertTrees", treeGeometry.get(), bounds, std::move(ground),
                                                        plan.treeCount, plan.seed);
    treeGeometry->setPageLoader(treeLoader.get());

    // The shadows go into a copy; a picture that already carries them gets none.
    ToyPictureGrey* lightmap = scene.getLightmapPicture();
    ToyPictureGrey shadow;
    bool stamping = lightmap && !scene.lightmapHasTrees();
    if (stamping && !shadow.loadFromFile(kShadowStamp, 0, 0, Ogre::RGN_DEFAULT))
    {
        log("Tree shadows left out: no " + std::string(kShadowStamp));
        stamping = false;
    }
    if (stamping)
        stampedLightmap = std::make_unique<ToyPictureGrey>(static_cast<const ToyPicture&>(*lightmap));
    treeLoader->createTrees(stampedLightmap.get(), stamping ? &shadow : nullptr);
    log("Trees planted: " + std::to_string(treeLoader->getTreesAdded()) + " of " + std::to_string(plan.treeCount) +
        " tries");
    buildTreeColours(scene);
}

void VegetationManager::buildTreeColours(GameScene& scene)
{
    // Trees are tinted by the lightmap: darker in the shade of hills and of the track.
    const ToyPictureGrey* lightmap = scene.getLightmapPicture();
    if (!lightmap || !Ogre::Root::getSingleton().getRenderSystem())
        return;
    TempImageManager* cache = scene.getImageCache();
    treeColourPicture = std::make_unique<ToyPictureGrey>();
    if (plan.kind == VegetationKind::Desert)
        *treeColourPicture = static_cast<const ToyPicture&>(*lightmap);
    else if (!cache || !cache->loadImage(*treeColourPicture, plan.treeLightmapName()))
    {
        if (treeColourPicture->loadFromFile(kTreeTint, lightmap->getWidth(), lightmap->getHeight(), Ogre::RGN_DEFAULT))
            treeColourPicture->multiply(0, 0, *lightmap);
        else
            *treeColourPicture = static_cast<const ToyPicture&>(*lightmap);
        if (cache)
            cache->saveImage(*treeColourPicture, plan.treeLightmapName());
    }
    treeColourTexture =
        std::make_unique<OgreToyPicture>(treeLoader->getName() + "Tree_Light_Map", treeColourPicture.get(), true);
    treeLoader->setColorMap(treeColourTexture->getTexture(), CHANNEL_COLOR);
    // As the grass's: the loader keeps the colours it read.
    treeColourTexture.reset();
    treeColourPicture.reset();
}

void VegetationManager::commitLightmap(GameScene& scene)
{
    if (!stampedLightmap)
        return;
    *scene.getLightmapPicture() = static_cast<const ToyPicture&>(*stampedLightmap);
    if (TempImageManager* cache = scene.getImageCache())
        cache->saveImage(*stampedLightmap, plan.lightmapName());
    stampedLightmap.reset();
}

void VegetationManager::update()
{
    if (treeGeometry)
        treeGeometry->update();
    if (grassGeometry)
        grassGeometry->update();
}
