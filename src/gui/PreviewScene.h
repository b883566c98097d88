// The editor's 3D preview: the picked tile's model on a patch of the chosen terrain, turning
// slowly, in a scene of its own drawn by its own camera into a render texture.
#pragma once

#include <OGRE/OgreVector.h>

#include <string>

namespace Ogre
{
class Camera;
class Entity;
class ManualObject;
class RenderTarget;
class Root;
class SceneManager;
class SceneNode;
class Viewport;
}

class PreviewScene
{
public:
    static constexpr float kDegreesPerSecond = 60.0f;  // turntable speed
    static constexpr float kCellUnits = 3.0f;          // world units across one track cell

    // The target may be null (nothing is drawn until setupViewport has one).
    explicit PreviewScene(Ogre::RenderTarget* target);
    PreviewScene(const PreviewScene&) = delete;
    PreviewScene& operator=(const PreviewScene&) = delete;
    virtual ~PreviewScene();

    // Once; later calls do nothing.
    void setupViewport();
    void destroyViewport();
    // Replaces the model by the mesh, moved by (x, 0, z); an empty name only removes it. A mesh
    // that can't be shown leaves no model and a log line.
    void showEntity(const std::string& meshName, float x, float z);
    // Turns model and ground together.
    void rotate(float seconds);
    void setGroundMaterial(const std::string& materialName);
    void destroy();

    // Where a tile of width x height cells (unturned) goes so its middle is over the axis.
    static Ogre::Vector2 modelOffset(int width, int height);

    Ogre::SceneManager* getSceneManager() const { return sceneManager; }
    Ogre::Entity* getEntity() const { return entity; }

private:
    void createCamera();
    void createGround();

    Ogre::Root* root = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Viewport* viewport = nullptr;
    Ogre::RenderTarget* renderTarget = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::ManualObject* ground = nullptr;
    Ogre::Entity* entity = nullptr;
    Ogre::SceneNode* modelNode = nullptr;
    Ogre::SceneNode* terrainNode = nullptr;
    Ogre::SceneNode* rotationNode = nullptr;
    bool viewportMade = false;
};
