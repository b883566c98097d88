// Test driver of the player's car on a built-in track: loads the test loop as a race loads
// it (terrain, tiles, lightmaps from the per-user cache or baked into it, boundaries,
// terrain collision), puts the Roadster on the start and lets a scripted driver take it
// round with the chase camera, writing a screenshot on the straight and one in the first
// bend and checking their pixels: the road under the car, the car seen. Prints the track's
// load time. Run from the build's bin folder. Exit code 0 when every check holds.
// usage: quillmor_trackdriver <Plugins.cfg> <per-user folder> <output folder>
#include "LogStream.h"
#include "XMLParser.h"
#include "graphics/LightMapBakeParameters.h"
#include "graphics/TempImageManagerTLM.h"
#include "physic/CameraRig.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "physic/RaceMaterials.h"
#include "physic/TerrainPhysicManager.h"
#include "platform/physics/scene.h"
#include "track/CheckPointTracker.h"
#include "track/MapDescription.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"
#include "track/TrackScene.h"

#include "SplineDriver.h"

#include "ScreenshotChecks.h"
#include "ToolEngine.h"

#include <OGRE/Ogre.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

namespace
{
constexpr unsigned kWindowWidth = 800;   // pixels
constexpr unsigned kWindowHeight = 600;  // pixels
constexpr float kStep = 0.01f;           // seconds
constexpr int kStepsPerFrame = 5;        // a frame every 0.05 s of race time
constexpr float kCruiseKmh = 60.0f;
constexpr float kBendKmh = 35.0f;
const char* const kTrack = "../media/maps/TestLoop.map";
const Ogre::ColourValue kSky(0.55f, 0.7f, 0.9f);

// Asphalt: a grey with no colour cast, unlike the grass and the sky.
bool asphaltGrey(int r, int g, int b)
{
    return std::max({r, g, b}) - std::min({r, g, b}) < 20 && std::max({r, g, b}) > 30 && std::max({r, g, b}) < 200;
}

// The race scene the track loads into: the scene manager, terrain, physics and lightmap cache.
class DriverScene : public TrackScene
{
public:
    DriverScene(Ogre::Root& root, Ogre::SceneManager* sceneManager, const std::string& userFolder)
        : sceneManager(sceneManager)
    {
        source = std::make_unique<TerrainPageSource>(sceneManager);
        terrain = std::make_unique<TerrainObject>(sceneManager, source.get());
        source->addListener(terrain.get());
        physics = std::make_unique<PhysicBase>(&root, sceneManager, userFolder);
        physics->init();
        cache = std::make_unique<TempImageManagerTLM>("lightmaps", userFolder);
    }
    ~DriverScene()
    {
        source->removeListener(terrain.get());
    }
    Ogre::SceneManager* getSceneManager() override { return sceneManager; }
    TerrainObject* getTerrainObject() const override { return terrain.get(); }
    PhysicBase* getPhysicBase() const override { return physics.get(); }
    nxOgre::scene* getPhysicScene() const override { return physics->getScene(); }
    TempImageManagerTLM* getLightmapCache() const override { return cache.get(); }
    unsigned getLightMapAnisotropy() const override { return LightMapBakeParameters().anisotropy; }

private:
    Ogre::SceneManager* sceneManager;
    std::unique_ptr<TerrainPageSource> source;
    std::unique_ptr<TerrainObject> terrain;
    std::unique_ptr<PhysicBase> physics;
    std::unique_ptr<TempImageManagerTLM> cache;
};

class Driver
{
public:
    Driver(const std::string& pluginsFile, const std::string& userFolder, const std::string& outDir)
        : outDir(outDir)
    {
        engine = ToolEngine::start(pluginsFile, outDir + "/trackdriver.ogre.log", "trackdriver", kWindowWidth,
                                   kWindowHeight);
        if (!engine)
            throw std::runtime_error("no OpenGL render system in " + pluginsFile);
        root = engine->root.get();
        window = engine->window;
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        for (const char* folder : {"tiles", "terrain", "cars", "materials"})
            groups.addResourceLocation(std::string("../media/") + folder, "FileSystem", Ogre::RGN_DEFAULT);
        groups.initialiseAllResourceGroups();
        sceneManager = root->createSceneManager("OctreeSceneManager");
        sceneManager->setAmbientLight(Ogre::ColourValue(0.4f, 0.4f, 0.42f));
        addDirectionalLight(*sceneManager, "shadowLight", Ogre::Vector3::NEGATIVE_UNIT_Y,
                            Ogre::ColourValue(0.3f, 0.3f, 0.3f));
        addDirectionalLight(*sceneManager, "SkySun", Ogre::Vector3(0.4f, -1.0f, 0.3f),
                            Ogre::ColourValue(0.9f, 0.85f, 0.75f));
        scene = std::make_unique<DriverScene>(*root, sceneManager, userFolder);
        nxOgre::scene& physics = *scene->getPhysicScene();
        // The tiles' road shapes take the road material: it comes before them.
        createRaceMaterials(physics);
        track = std::make_unique<MapObject>(scene.get(), &physics);
    }

    ~Driver()
    {
        if (track)
            track->getCheckPointTracker()->setCar(nullptr);
        // The rig off the car's camera nodes and the car off the rig before either goes.
        if (rig)
            rig->camSwitch(nullptr, nullptr);
        if (car)
            car->clearCameraRig();
        car.reset();
        rig.reset();
        terrainPhysics.reset();
        track.reset();
        scene.reset();
        root->destroySceneManager(sceneManager);
    }

    // The track as a race loads it; returns the seconds it took.
    double loadTrack()
    {
        const auto begin = std::chrono::steady_clock::now();
        const auto description = XMLParser::getInstance()->loadMapDescription(kTrack);
        TerrainObject& terrain = *scene->getTerrainObject();
        terrain.load(description->terrainName);
        track->setScale(terrain.getHorizontalScale(), terrain.getPageSize());
        track->load(kTrack);
        track->buildTiles();
        track->buildTrackSpline();
        PhysicBase& physics = *scene->getPhysicBase();
        physics.setPaging(false);  // the bake's rays see every shape
        track->bakeLightMaps();
        physics.setPaging(true);
        track->createBoundaries();
        terrainPhysics = std::make_unique<TerrainPhysicManager>(&physics, &terrain);
        terrainPhysics->createPagedPatches();
        if (!track->getTrackSpline())
            throw std::runtime_error(std::string("no driving path on ") + kTrack);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }

    void placeCar()
    {
        desc = XMLParser::getInstance()->loadCar("../media/cars/Roadster.xml");
        rig = std::make_unique<CameraRig>("Default_Cam", sceneManager, 0.4f, 0.3f);
        rig->getCamera()->setAspectRatio(float(kWindowWidth) / kWindowHeight);
        window->addViewport(rig->getCamera())->setBackgroundColour(kSky);
        CheckPointTracker& tracker = *track->getCheckPointTracker();
        const Ogre::Vector2 start = tracker.getStartPosition();
        TerrainObject* terrain = scene->getTerrainObject();
        car = std::make_unique<Car>("Player", desc.get(), Ogre::Vector3(start.x, terrain->getHeight(start), start.y),
                                    tracker.getStartOrientation(), scene->getPhysicScene(), sceneManager, terrain);
        car->setCameraRig(rig.get());
        tracker.setCar(car.get());
        driver = std::make_unique<SplineDriver>(*track->getTrackSpline(), kCruiseKmh, kBendKmh);
    }

    // Steps for seconds of race time, held at the start or driven, rendering every few steps.
    void drive(float seconds, bool held)
    {
        const int steps = static_cast<int>(seconds / kStep + 0.5f);
        PhysicBase& physics = *scene->getPhysicBase();
        for (int i = 0; i < steps; ++i)
        {
            car->setStopped(held);
            if (!held)
                driver->drive(*car);
            physics.pagingUpdate();
            physics.simulate(1.0f);
            car->onPhysicStep(kStep);
            track->getCheckPointTracker()->update();
            gatesPassed += track->getCheckPointTracker()->takePassed();
            rig->update(kStep, car->getAcceleration(), car->getHeading(true));
            if (++stepCount % kStepsPerFrame == 0)
                renderFrame();
        }
    }

    Ogre::Image shoot(const std::string& name)
    {
        renderFrame();
        const std::string path = outDir + "/trackdriver_" + name + ".png";
        Ogre::Image image = takeScreenshot(*window, path);
        return image;
    }

    Region carRegion() const
    {
        return regionAround(*rig->getCamera(), car->getNode()->_getDerivedPosition(), kWindowWidth, kWindowHeight);
    }

    float speedKmh() const { return car->getSpeedKmh(); }
    float offTrack() const { return driver->getOffTrack(); }
    int gates() const { return gatesPassed; }

private:

    void renderFrame()
    {
        car->onPhysicFrame(1.0f, kStep, kStep * kStepsPerFrame);
        rig->setAlpha(1.0f);
        const Ogre::Vector3 at = rig->getPosition();
        rig->follow(scene->getTerrainObject()->getHeight(at.x, at.z));
        root->renderOneFrame();
    }

    std::string outDir;
    std::unique_ptr<ToolEngine> engine;  // goes last: everything below lives in it
    Ogre::Root* root = nullptr;
    Ogre::RenderWindow* window = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    std::unique_ptr<DriverScene> scene;
    std::unique_ptr<MapObject> track;
    std::unique_ptr<TerrainPhysicManager> terrainPhysics;
    std::unique_ptr<CarDesc> desc;
    std::unique_ptr<CameraRig> rig;
    std::unique_ptr<Car> car;
    std::unique_ptr<SplineDriver> driver;
    long stepCount = 0;
    int gatesPassed = 0;
};

int run(const std::string& pluginsFile, std::string userFolder, const std::string& outDir)
{
    if (userFolder.back() != '/')
        userFolder += '/';
    mkdir((userFolder + "logs").c_str(), 0755);
    if (!LogStream::getInstance()->open(userFolder + "logs/debug.txt"))
        throw std::runtime_error("cannot write the debug log in " + userFolder + "logs/");
    Driver driver(pluginsFile, userFolder, outDir);
    std::cout << "track load " << driver.loadTrack() << " s\n";
    driver.placeCar();
    driver.drive(0.5f, true);  // the countdown
    driver.drive(3.5f, false);
    std::cout << "on the straight at " << driver.speedKmh() << " km/h, " << driver.offTrack() << " units off the path\n";
    const Ogre::Image straight = driver.shoot("straight");
    const Region straightCar = driver.carRegion();
    driver.drive(5.0f, false);
    std::cout << "in the bend at " << driver.speedKmh() << " km/h, " << driver.offTrack() << " units off the path\n";
    const Ogre::Image bend = driver.shoot("bend");
    const Region bendCar = driver.carRegion();
    driver.drive(7.0f, false);  // on through the first gate

    // The red kerbs lie beside the road: the paint is looked for close to the car only.
    const auto onCar = [](Region r) { return Region{r.x0 + 110, r.y0 + 140, r.x1 - 110, r.y1 - 90}; };
    const auto belowCar = [](Region r) { return Region{r.x0 + 100, r.y1 - 50, r.x1 - 100, r.y1 + 50}; };
    const size_t area = 200 * 100;
    const size_t paintStraight = countPixels(straight, onCar(straightCar), paintRed);
    const size_t paintBend = countPixels(bend, onCar(bendCar), paintRed);
    const size_t roadStraight = countPixels(straight, belowCar(straightCar), asphaltGrey);
    const size_t roadBend = countPixels(bend, belowCar(bendCar), asphaltGrey);
    std::cout << "paint " << paintStraight << ", " << paintBend << "; road below the car " << roadStraight << ", "
              << roadBend << " of " << area << " pixels; gates passed " << driver.gates() << "\n";
    bool ok = check(paintStraight > 1500 && paintBend > 1500, "the car is seen behind the chase camera's look-at point");
    ok = check(roadStraight > area / 2 && roadBend > area / 2, "the road lies under the car") && ok;
    ok = check(driver.gates() >= 1, "the car passed the first gate") && ok;
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: quillmor_trackdriver <Plugins.cfg> <per-user folder> <output folder>\n";
        return 2;
    }
    int status = 1;
    try
    {
        status = run(argv[1], argv[2], argv[3]);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "engine error: " << error.getFullDescription() << "\n";
    }
    catch (const std::exception& error)
    {
        std::cerr << "error: " << error.what() << "\n";
    }
    LogStream::destroy();
    return status;
}
