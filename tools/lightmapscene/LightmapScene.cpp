// Test scene for baked lightmaps: a white ground with a box standing on it, lit slanting
// from -x. The ground's lightmap is baked through the physics scene, stored in the tile
// cache and read back as a texture for a second ground; a grey picture is uploaded through
// its texture loader. The screenshot must show both grounds darker behind the box.
// usage: quillmor_lightmapscene <Plugins.cfg> <screenshot.png> <scratch folder>
#include "graphics/CLightMap.h"
#include "graphics/OgreToyPicture.h"
#include "graphics/TempImageManagerTLM.h"
#include "graphics/ToyPictureGrey.h"
#include "physic/PhysicBase.h"
#include "platform/physics/NxActorDesc.h"
#include "platform/physics/scene.h"

#include "ToolEngine.h"

#include <OGRE/Ogre.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <string>

namespace
{
constexpr unsigned kWindowWidth = 800;  // pixels
constexpr unsigned kWindowHeight = 600;
constexpr float kHalfWidth = 10.0f;     // world units: each ground runs 20 units square
constexpr float kBoxHalfWidth = 2.0f;
constexpr float kBoxHeight = 3.0f;
constexpr float kSecondGroundZ = 22.0f; // the cached copy lies beside the baked one
const Ogre::Vector3 kLight(1.0f, -1.0f, 0.0f);  // shadows fall 3 units towards +x
constexpr std::uint8_t kPictureGrey = 60;

// A ground square on its node: positions, upward normals, a tiling UV set and the lightmap set.
Ogre::Entity* makeGround(Ogre::SceneManager* scene, const std::string& name, float z)
{
    Ogre::ManualObject* object = scene->createManualObject();
    object->begin("LightmapScene/White", Ogre::RenderOperation::OT_TRIANGLE_LIST);
    for (int corner = 0; corner < 4; ++corner)
    {
        const float u = static_cast<float>(corner % 2);
        const float v = static_cast<float>(corner / 2);
        object->position(-kHalfWidth + 2 * kHalfWidth * u, 0.0f, -kHalfWidth + 2 * kHalfWidth * v);
        object->normal(Ogre::Vector3::UNIT_Y);
        object->textureCoord(u * 4, v * 4);
        object->textureCoord(u, v);
    }
    object->triangle(0, 2, 1);
    object->triangle(1, 2, 3);
    object->end();
    object->convertToMesh(name);
    scene->destroyManualObject(object);
    Ogre::Entity* entity = scene->createEntity(name);
    scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 0, z))->attachObject(entity);
    return entity;
}

void makeFlatMaterial(const std::string& name, const Ogre::ColourValue& colour)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, Ogre::RGN_DEFAULT);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->createTextureUnitState()->setColourOperationEx(Ogre::LBX_SOURCE1, Ogre::LBS_MANUAL, Ogre::LBS_CURRENT,
                                                          colour);
}

void addBox(Ogre::SceneManager* scene, nxOgre::scene* physics, nxOgre::NxBoxShapeDesc& shape, float z)
{
    nxOgre::NxActorDesc desc;
    desc.shapes.push_back(&shape);
    desc.globalPose.setOrigin(btVector3(0, kBoxHeight / 2, z));
    physics->createActor(desc);
    Ogre::Entity* box = scene->createEntity(Ogre::SceneManager::PT_CUBE);
    box->setMaterialName("LightmapScene/Red");
    Ogre::SceneNode* node = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, kBoxHeight / 2, z));
    node->setScale(2 * kBoxHalfWidth / 100, kBoxHeight / 100, 2 * kBoxHalfWidth / 100);  // the cube is 100 wide
    node->attachObject(box);
}

// Grey level of the screenshot where a world point lands, and whether it lies in range.
bool checkGrey(const Ogre::Camera* camera, const Ogre::Image& image, const std::string& what,
               const Ogre::Vector3& world, int low, int high)
{
    const Ogre::Vector3 projected = camera->getProjectionMatrix() * (camera->getViewMatrix() * world);
    const int x = static_cast<int>((projected.x * 0.5f + 0.5f) * image.getWidth());
    const int y = static_cast<int>((0.5f - projected.y * 0.5f) * image.getHeight());
    const Ogre::ColourValue colour = image.getColourAt(x, y, 0);
    const int grey = static_cast<int>(colour.g * 255.0f + 0.5f);
    const bool ok = grey >= low && grey <= high;
    std::cout << (ok ? "ok   " : "FAIL ") << what << " at pixel (" << x << ", " << y << "): grey " << grey
              << ", wanted " << low << ".." << high << "\n";
    return ok;
}

int run(const std::string& pluginsFile, const std::string& screenshot, const std::string& scratch)
{
    const std::unique_ptr<ToolEngine> engine =
        ToolEngine::start(pluginsFile, screenshot + ".ogre.log", "lightmapscene", kWindowWidth, kWindowHeight);
    if (!engine)
        return 1;
    Ogre::Root* root = engine->root.get();
    Ogre::RenderWindow* window = engine->window;
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();
    Ogre::SceneManager* scene = root->createSceneManager();
    Ogre::Camera* camera = scene->createCamera("top");
    camera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    camera->setOrthoWindow(64.0f, 48.0f);
    camera->setNearClipDistance(1.0f);
    camera->setFarClipDistance(200.0f);
    Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 50, kSecondGroundZ / 2));
    cameraNode->pitch(Ogre::Degree(-90.0f));
    cameraNode->attachObject(camera);
    window->addViewport(camera)->setBackgroundColour(Ogre::ColourValue(0, 0, 0.5f));
    makeFlatMaterial("LightmapScene/White", Ogre::ColourValue::White);
    makeFlatMaterial("LightmapScene/Red", Ogre::ColourValue::Red);

    PhysicBase physics(nullptr, scene, scratch);
    nxOgre::scene* physicsScene = physics.init();
    nxOgre::NxBoxShapeDesc boxShape;
    boxShape.dimensions = btVector3(kBoxHalfWidth, kBoxHeight / 2, kBoxHalfWidth);
    addBox(scene, physicsScene, boxShape, 0.0f);
    addBox(scene, physicsScene, boxShape, kSecondGroundZ);

    LightMapBakeParameters bake;
    bake.lightDirection = kLight;
    bake.surfaceOffset = 0.1f;
    Ogre::Entity* baked = makeGround(scene, "BakedGround", 0.0f);
    Ogre::Entity* cached = makeGround(scene, "CachedGround", kSecondGroundZ);
    bool ok = true;
    {
        // The tile path: bake, store in the cache, and a second tile of the type adopts it.
        auto bakedMap = std::make_shared<CLightMap>(&physics, baked->getSubEntity(0), 5.0f, 0, false, bake);
        bakedMap->createMaterial();
        TempImageManagerTLM cache("lightmaps", scratch);
        ToyPictureGrey stored;
        bakedMap->saveToPicture(&stored);
        ok = cache.saveImage(stored, "Ground_0") && ok;
        const Ogre::TexturePtr texture = cache.loadTexture("Ground_0");
        auto cachedMap = std::make_shared<CLightMap>(&physics, cached->getSubEntity(0), 0, false, bake);
        if (texture)
        {
            cachedMap->setTexture(texture);
            cachedMap->createMaterial();
        }
        std::cout << (texture ? "ok   " : "FAIL ") << "cached lightmap loaded as a texture\n";
        ok = ok && texture && bakedMap->isBaked();

        // A picture uploaded through its loader, on a small quad in the corner.
        ToyPictureGrey picture(4, 4);
        picture.clear(kPictureGrey);
        OgreToyPicture upload("LightmapScene/Picture", &picture, true);
        Ogre::MaterialPtr pictureMaterial =
            Ogre::MaterialManager::getSingleton().create("LightmapScene/PictureMaterial", Ogre::RGN_DEFAULT);
        pictureMaterial->getTechnique(0)->getPass(0)->setLightingEnabled(false);
        pictureMaterial->getTechnique(0)->getPass(0)->createTextureUnitState()->setTexture(upload.getTexture());
        Ogre::Entity* quad = scene->createEntity(Ogre::SceneManager::PT_PLANE);
        quad->setMaterial(pictureMaterial);
        Ogre::SceneNode* quadNode = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(-25, 0, 0));
        quadNode->pitch(Ogre::Degree(-90.0f));
        quadNode->setScale(0.04f, 0.04f, 0.04f);  // the plane is 200 wide
        quadNode->attachObject(quad);

        for (int frame = 0; frame < 3; ++frame)
            root->renderOneFrame();
        window->writeContentsToFile(screenshot);
        std::ifstream file(screenshot, std::ios::binary);
        Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(&file, false));
        Ogre::Image image;
        image.load(stream, "png");
        for (float z : {0.0f, kSecondGroundZ})
        {
            const std::string which = z == 0.0f ? "baked ground" : "cached ground";
            ok = checkGrey(camera, image, which + ", in the box's shadow", Ogre::Vector3(3.5f, 0, z), 90, 115) && ok;
            ok = checkGrey(camera, image, which + ", lit before the box", Ogre::Vector3(-6, 0, z), 245, 255) && ok;
            ok = checkGrey(camera, image, which + ", lit beside the box", Ogre::Vector3(3.5f, 0, z + 6), 245, 255) && ok;
        }
        ok = checkGrey(camera, image, "uploaded grey picture", Ogre::Vector3(-25, 0.1f, 0), kPictureGrey - 3,
                       kPictureGrey + 3) && ok;
        scene->destroyEntity(quad);
        pictureMaterial.reset();
    }
    // Nothing may hold engine resources when the root goes.
    root->destroySceneManager(scene);
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: quillmor_lightmapscene <Plugins.cfg> <screenshot.png> <scratch folder>\n";
        return 2;
    }
    try
    {
        return run(argv[1], argv[2], argv[3]);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "engine error: " << error.getFullDescription() << "\n";
        return 1;
    }
}
