// The editor's turning tile preview.
#include "gui/PreviewScene.h"

#include "LogStream.h"

#include <OGRE/Ogre.h>

namespace
{
constexpr float kGroundHalfSize = 1.5f * 10.0f;  // ten cells of 3 units
constexpr float kTexel = 1.0f / 256.0f;           // of a 256-texel terrain picture
}

PreviewScene::PreviewScene(Ogre::RenderTarget* target) : renderTarget(target)
{
    root = Ogre::Root::getSingletonPtr();
    try
    {
        sceneManager = root->createSceneManager("OctreeSceneManager");
    }
    catch (const Ogre::Exception&)
    {
        // Without the octree plug-in (as in tests) the generic manager draws this small scene as well.
        sceneManager = root->createSceneManager();
    }
    Ogre::SceneNode* top = sceneManager->getRootSceneNode();
    rotationNode = top->createChildSceneNode("Rotation_Node");
    modelNode = rotationNode->createChildSceneNode("Model_Node");
    terrainNode = rotationNode->createChildSceneNode("Terrain_Node");
    createCamera();

    Ogre::Light* light = sceneManager->createLight("DefaultLightSky");
    light->setType(Ogre::Light::LT_DIRECTIONAL);
    light->setDiffuseColour(Ogre::ColourValue(1, 1, 1, 1));
    light->setSpecularColour(Ogre::ColourValue(0.1f, 0.1f, 0.1f, 1));
    Ogre::SceneNode* lightNode = top->createChildSceneNode("Preview_Light");
    lightNode->attachObject(light);
    lightNode->setDirection(Ogre::Vector3::NEGATIVE_UNIT_Y, Ogre::Node::TS_WORLD);
    createGround();
}

PreviewScene::~PreviewScene()
{
    destroy();
}

void PreviewScene::createCamera()
{
    camera = sceneManager->createCamera("Default_Camera");
    camera->setNearClipDistance(1);
    camera->setFarClipDistance(1000);
    Ogre::SceneNode* top = sceneManager->getRootSceneNode();
    Ogre::SceneNode* position = top->createChildSceneNode("Preview_Cam_Position");
    Ogre::SceneNode* lookAt = top->createChildSceneNode("Preview_Cam_LookAt");
    position->attachObject(camera);
    position->setAutoTracking(true, lookAt, Ogre::Vector3::NEGATIVE_UNIT_Z);
    // From 45 degrees above, looking at the turntable's centre.
    position->translate(0, 6, 6, Ogre::Node::TS_PARENT);
}

void PreviewScene::createGround()
{
    ground = sceneManager->createManualObject("PreviewTerrain");
    ground->estimateVertexCount(4);
    ground->estimateIndexCount(4);
    ground->begin("Terrain_Shader1", Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    const float s = kGroundHalfSize;
    // Texels 128 to 138 of the terrain picture: a patch of the terrain's own colour.
    const float a = 128 * kTexel, b = 138 * kTexel;
    const float corners[4][4] = {{-s, -s, a, a}, {-s, s, a, b}, {s, -s, b, a}, {s, s, b, b}};
    for (const auto& corner : corners)
    {
        ground->position(corner[0], 0, corner[1]);
        // Facing up, so the sun from above lights the patch (a normal along -z leaves it black).
        ground->normal(0, 1, 0);
        ground->textureCoord(corner[2], corner[3]);
    }
    ground->end();
    terrainNode->attachObject(ground);
}

void PreviewScene::setupViewport()
{
    if (viewportMade || !renderTarget)
        return;
    viewport = renderTarget->addViewport(camera, 0, 0, 0, 1, 1);
    viewport->setOverlaysEnabled(false);
    viewport->setClearEveryFrame(true);
    viewport->setBackgroundColour(Ogre::ColourValue::Black);
    camera->setAspectRatio(static_cast<Ogre::Real>(viewport->getActualWidth()) /
                           static_cast<Ogre::Real>(viewport->getActualHeight()));
    viewportMade = true;
}

void PreviewScene::destroyViewport()
{
    if (viewportMade && renderTarget)
        renderTarget->removeViewport(0);
    viewport = nullptr;
    viewportMade = false;
}

void PreviewScene::showEntity(const std::string& meshName, float x, float z)
{
    if (!sceneManager)
        return;
    if (entity)
    {
        modelNode->detachAllObjects();
        sceneManager->destroyEntity(entity);
        entity = nullptr;
    }
    if (meshName.empty())
        return;
    modelNode->resetToInitialState();
    modelNode->setPosition(Ogre::Vector3::ZERO);
    try
    {
        entity = sceneManager->createEntity("PreviewEntity", meshName);
    }
    catch (const Ogre::Exception& error)
    {
        // A broken tile description must not end the editor: no model, and why.
        const std::string text = "PreviewScene: no model for mesh '" + meshName + "': " + error.getDescription();
        Ogre::LogManager::getSingleton().logMessage(text);
        debugLog() << text << std::endl;
        return;
    }
    modelNode->attachObject(entity);
    modelNode->translate(x, 0, z);
}

void PreviewScene::rotate(float seconds)
{
    if (rotationNode)
        rotationNode->yaw(Ogre::Degree(seconds * kDegreesPerSecond), Ogre::Node::TS_LOCAL);
}

void PreviewScene::setGroundMaterial(const std::string& materialName)
{
    if (ground && !ground->getSections().empty())
        ground->setMaterialName(0, materialName);
}

Ogre::Vector2 PreviewScene::modelOffset(int width, int height)
{
    return Ogre::Vector2(-((static_cast<float>(width) - 1) / 2 * kCellUnits),
                         -((static_cast<float>(height) - 1) / 2 * kCellUnits));
}

void PreviewScene::destroy()
{
    if (!sceneManager)
        return;
    destroyViewport();
    if (entity)
    {
        modelNode->detachAllObjects();
        sceneManager->destroyEntity(entity);
        entity = nullptr;
    }
    terrainNode->detachAllObjects();
    rotationNode->removeAndDestroyChild(terrainNode);
    terrainNode = nullptr;
    sceneManager->destroyManualObject(ground);
    ground = nullptr;
    sceneManager->clearScene();
    sceneManager->destroyCamera(camera);
    camera = nullptr;
    root->destroySceneManager(sceneManager);
    sceneManager = nullptr;
    modelNode = rotationNode = nullptr;
}
