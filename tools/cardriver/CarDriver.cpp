// Test driver of the player's car: loads a terrain, lays a flat asphalt pad on it, puts the
// Roadster on the pad and drives a scripted run with the chase camera: away at full
// throttle, a handbrake slide, away again, hard braking. It writes a screenshot at each of
// those moments and checks their pixels: the car is seen, the slide shows smoke, braking
// lights the brake lights, and the wheels it locks leave tyre tracks. Exit code 0 when every check holds.
// usage: quillmor_cardriver <Plugins.cfg> <media folder> <output folder>
#include "physic/CameraRig.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "physic/RaceMaterials.h"
#include "physic/TerrainPhysicManager.h"
#include "physic/VehicleSR.h"
#include "XMLParser.h"
#include "platform/physics/NxShapeDesc.h"
#include "platform/physics/scene.h"
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include "ScreenshotChecks.h"
#include "ToolEngine.h"

#include <OGRE/Ogre.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

namespace
{
constexpr unsigned kWindowWidth = 800;   // pixels
constexpr unsigned kWindowHeight = 600;  // pixels
constexpr float kStep = 0.01f;           // seconds
constexpr int kStepsPerFrame = 2;        // a frame every 0.02 s of race time
constexpr float kPadHalfSize = 150.0f;   // units
constexpr float kPadThickness = 0.5f;    // units
const Ogre::Vector3 kPadCentre(1536.0f, 0.0f, 1536.0f);  // the middle of the desert
const Ogre::ColourValue kSky(0.55f, 0.7f, 0.9f);
const Ogre::ColourValue kAsphalt(0.30f, 0.30f, 0.33f);

bool brightRed(int r, int g, int b)
{
    return r > 190 && g < 80 && b < 80;
}
bool smokeGrey(int r, int g, int b)
{
    return std::min({r, g, b}) > 150 && std::max({r, g, b}) - std::min({r, g, b}) < 30;
}
// Rubber over the asphalt (about 115 grey on screen) leaves it clearly darker.
bool rubberDark(int r, int g, int b)
{
    return std::max({r, g, b}) < 100;
}

class Driver
{
public:
    Driver(const std::string& pluginsFile, const std::string& mediaDir, const std::string& outDir)
        : mediaDir(mediaDir), outDir(outDir)
    {
        engine = ToolEngine::start(pluginsFile, outDir + "/cardriver.ogre.log", "cardriver", kWindowWidth,
                                   kWindowHeight);
        if (!engine)
            throw std::runtime_error("no OpenGL render system in " + pluginsFile);
        root = engine->root.get();
        window = engine->window;
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        for (const char* folder : {"/terrain", "/cars", "/materials"})
            groups.addResourceLocation(mediaDir + folder, "FileSystem", Ogre::RGN_DEFAULT);
        groups.initialiseAllResourceGroups();
        sceneManager = root->createSceneManager("OctreeSceneManager");
    }

    ~Driver()
    {
        car.reset();
        rig.reset();
        terrainPhysics.reset();
        physics.reset();
        if (source && terrain)
            source->removeListener(terrain.get());
        terrain.reset();
        source.reset();
        root->destroySceneManager(sceneManager);
    }

    void buildScene()
    {
        sceneManager->setAmbientLight(Ogre::ColourValue(0.4f, 0.4f, 0.42f));
        addDirectionalLight(*sceneManager, "shadowLight", Ogre::Vector3::NEGATIVE_UNIT_Y,
                            Ogre::ColourValue(0.3f, 0.3f, 0.3f));
        addDirectionalLight(*sceneManager, "SkySun", Ogre::Vector3(0.4f, -1.0f, 0.3f),
                            Ogre::ColourValue(0.9f, 0.85f, 0.75f));

        source = std::make_unique<TerrainPageSource>(sceneManager);
        terrain = std::make_unique<TerrainObject>(sceneManager, source.get());
        source->addListener(terrain.get());
        terrain->load("Desert", mediaDir + "/terrain/TerrainList.xml");

        physics = std::make_unique<PhysicBase>(root, sceneManager);
        nxOgre::scene* scene = physics->init();
        createRaceMaterials(*scene);
        terrainPhysics = std::make_unique<TerrainPhysicManager>(physics.get(), terrain.get());
        physics->setPaging(true);
        terrainPhysics->createPagedPatches();
        padTop = buildPad(*scene);

        desc = XMLParser::getInstance()->loadCar(mediaDir + "/cars/Roadster.xml");
        rig = std::make_unique<CameraRig>("Default_Cam", sceneManager, 0.4f, 0.3f);
        rig->getCamera()->setAspectRatio(float(kWindowWidth) / kWindowHeight);
        window->addViewport(rig->getCamera())->setBackgroundColour(kSky);
        // Start at the pad's -x end facing +x; the pad stands above the dunes.
        const Ogre::Vector3 start = kPadCentre + Ogre::Vector3(-kPadHalfSize + 20, 0, 0);
        car = std::make_unique<Car>("Player", desc.get(), start, Ogre::Quaternion::IDENTITY, scene, sceneManager,
                                    terrain.get());
        car->setCameraRig(rig.get());
        physics->addListener(car.get());
        // The car sets itself on the terrain, which lies below the pad here: once its start
        // pose has been applied at the first step, lift it onto the pad.
        physics->simulate(1.0f);
        nxOgre::body* body = car->getVehicle()->getBody();
        body->setGlobalPosition(btVector3(start.x, padTop + 0.8f, start.z));
        car->getVehicle()->resetMotion();
    }

    // Steps for seconds of race time with the inputs, rendering every few steps.
    void drive(float seconds, const std::function<void(Car&)>& inputs)
    {
        const int steps = static_cast<int>(seconds / kStep + 0.5f);
        for (int i = 0; i < steps; ++i)
        {
            inputs(*car);
            physics->pagingUpdate();
            physics->simulate(1.0f);
            rig->update(kStep, car->getAcceleration(), car->getHeading(true));
            if (++stepCount % kStepsPerFrame == 0)
                renderFrame();
        }
    }

    // Renders, writes the screenshot and reads it back.
    Ogre::Image shoot(const std::string& name)
    {
        renderFrame();
        const std::string path = outDir + "/cardriver_" + name + ".png";
        Ogre::Image image = takeScreenshot(*window, path);
        carRegions[name] = regionAroundCar();
        return image;
    }

    Region region(const std::string& name) const { return carRegions.at(name); }
    float speedKmh() const { return car->getSpeedKmh(); }

private:

    // A flat slab of road above the highest dune under it, in physics and on screen.
    float buildPad(nxOgre::scene& scene)
    {
        float highest = 0.0f;
        for (float x = -kPadHalfSize; x <= kPadHalfSize; x += 6.0f)
            for (float z = -kPadHalfSize; z <= kPadHalfSize; z += 6.0f)
                highest = std::max(highest, terrain->getHeight(kPadCentre.x + x, kPadCentre.z + z));
        const float top = highest + 0.3f;
        padShape.dimensions = btVector3(kPadHalfSize, kPadThickness, kPadHalfSize);
        padShape.materialIndex = scene.findMaterialIndex(RaceMaterials::kRoadName);
        nxOgre::NxActorDesc pad;
        pad.shapes.push_back(&padShape);
        pad.globalPose.setOrigin(btVector3(kPadCentre.x, top - kPadThickness, kPadCentre.z));
        scene.createActor(pad);

        Ogre::MaterialPtr asphalt = Ogre::MaterialManager::getSingleton().create("CarDriver/Asphalt", Ogre::RGN_DEFAULT);
        asphalt->getTechnique(0)->getPass(0)->setAmbient(kAsphalt);
        asphalt->getTechnique(0)->getPass(0)->setDiffuse(kAsphalt);
        Ogre::Entity* slab = sceneManager->createEntity("CarDriverPad", Ogre::SceneManager::PT_CUBE);
        slab->setMaterial(asphalt);
        Ogre::SceneNode* node = sceneManager->getRootSceneNode()->createChildSceneNode(
            Ogre::Vector3(kPadCentre.x, top - kPadThickness, kPadCentre.z));
        node->setScale(2 * kPadHalfSize / 100.0f, 2 * kPadThickness / 100.0f, 2 * kPadHalfSize / 100.0f);
        node->attachObject(slab);
        return top;
    }

    void renderFrame()
    {
        car->onPhysicFrame(1.0f, kStep, kStep * kStepsPerFrame);
        rig->setAlpha(1.0f);
        const Ogre::Vector3 at = rig->getPosition();
        rig->follow(std::max(padTop, terrain->getHeight(at.x, at.z)));
        root->renderOneFrame();
    }

    Region regionAroundCar() const
    {
        return regionAround(*rig->getCamera(), car->getNode()->_getDerivedPosition(), kWindowWidth, kWindowHeight);
    }

    std::string mediaDir, outDir;
    std::unique_ptr<ToolEngine> engine;  // goes last: everything below lives in it
    Ogre::Root* root = nullptr;
    Ogre::RenderWindow* window = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    std::unique_ptr<TerrainPageSource> source;
    std::unique_ptr<TerrainObject> terrain;
    std::unique_ptr<PhysicBase> physics;
    std::unique_ptr<TerrainPhysicManager> terrainPhysics;
    nxOgre::NxBoxShapeDesc padShape;
    float padTop = 0.0f;
    std::unique_ptr<CarDesc> desc;
    std::unique_ptr<CameraRig> rig;
    std::unique_ptr<Car> car;
    long stepCount = 0;
    std::map<std::string, Region> carRegions;
};

int run(const std::string& pluginsFile, const std::string& mediaDir, const std::string& outDir)
{
    Driver driver(pluginsFile, mediaDir, outDir);
    driver.buildScene();
    // Held at the start as the race rules hold it during the countdown, then released.
    driver.drive(0.6f, [](Car& car) { car.setStopped(true); });
    driver.drive(3.0f, [](Car& car) {
        car.setStopped(false);
        car.setThrottle(1.0f);
    });
    std::cout << "driving at " << driver.speedKmh() << " km/h\n";
    const Ogre::Image driving = driver.shoot("driving");
    driver.drive(0.7f, [](Car& car) {
        car.setThrottle(0.0f);
        car.setHandbrake(true);
        car.setDigitalLeft(true);
    });
    const Ogre::Image sliding = driver.shoot("sliding");
    driver.drive(1.5f, [](Car& car) {
        car.setHandbrake(false);
        car.setDigitalLeft(false);
        car.setThrottle(1.0f);
    });
    std::cout << "driving again at " << driver.speedKmh() << " km/h\n";
    driver.drive(0.3f, [](Car& car) {
        car.setThrottle(0.0f);
        car.setBrake(1.0f);
    });
    const Ogre::Image braking = driver.shoot("braking");

    const Region drivingCar = driver.region("driving"), slidingCar = driver.region("sliding"),
                 brakingCar = driver.region("braking");
    const size_t paint = countPixels(driving, drivingCar, paintRed);
    const size_t smokeBefore = countPixels(driving, drivingCar, smokeGrey);
    const size_t smokeAfter = countPixels(sliding, slidingCar, smokeGrey);
    // Tracks on the road below the car, left by the wheels locked under braking.
    const auto belowCar = [](Region r) { return Region{r.x0, r.y1 - 60, r.x1, r.y1 + 150}; };
    const size_t darkBefore = countPixels(driving, belowCar(drivingCar), rubberDark);
    const size_t darkAfter = countPixels(braking, belowCar(brakingCar), rubberDark);
    const size_t lightsOff = countPixels(driving, drivingCar, brightRed);
    const size_t lightsOn = countPixels(braking, brakingCar, brightRed);
    std::cout << "paint " << paint << ", smoke " << smokeBefore << " -> " << smokeAfter << ", dark " << darkBefore
              << " -> " << darkAfter << ", bright red " << lightsOff << " -> " << lightsOn << "\n";
    bool ok = check(paint > 1500, "the car is seen behind the chase camera's look-at point");
    ok = check(smokeAfter > smokeBefore + 500, "the slide shows tyre smoke") && ok;
    ok = check(darkAfter > darkBefore + 300, "locked wheels leave tyre tracks") && ok;
    ok = check(lightsOn > 40 && lightsOn > 4 * lightsOff, "the brake lights light while braking") && ok;
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: quillmor_cardriver <Plugins.cfg> <media folder> <output folder>\n";
        return 2;
    }
    try
    {
        return run(argv[1], argv[2], argv[3]);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "engine error: " << error.getFullDescription() << "\n";
    }
    catch (const std::exception& error)
    {
        std::cerr << "error: " << error.what() << "\n";
    }
    return 1;
}
