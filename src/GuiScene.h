// The scene of the menus and the editor: its own scene manager with a fixed orthographic
// camera, and the GUI library (CEGUI) started on the game window.
#pragma once

#include "Scene.h"

#include <memory>
#include <string>

namespace Ogre
{
class Camera;
class Root;
class StaticGeometry;
}
namespace CEGUI
{
class OgreRenderer;
class OgreResourceProvider;
class System;
class WindowManager;
}

class GuiImageCodec;

class GuiScene : public Scene
{
public:
    // Starts the GUI library; throws a std::string naming the failure when it can't.
    GuiScene();
    virtual ~GuiScene();
    GuiScene(const GuiScene&) = delete;
    GuiScene& operator=(const GuiScene&) = delete;

    void create() override;
    void destroy() override;
    void enable() override;
    void disable() override;
    Ogre::SceneManager* getSceneManager() override { return sceneManager; }
    void addToStaticGeometry(Ogre::SceneNode* node) override;
    Ogre::Vector3 screenToWorld(const Ogre::Vector2& screen) override;
    Ogre::Vector3 screenToWorldRay(const Ogre::Vector2& screen) override;

    CEGUI::System* getGUISystem() const { return guiSystem; }
    CEGUI::OgreRenderer* getGUIRenderer() const { return guiRenderer; }
    Ogre::Camera* getCamera() const { return camera; }
    bool isEnabled() const { return enabled; }

private:
    class GuiRenderQueueListener;

    void createCamera();
    void createGuiSystem(const std::string& logFile);

    Ogre::Root* root = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::StaticGeometry* staticGeometry = nullptr;
    CEGUI::OgreRenderer* guiRenderer = nullptr;
    CEGUI::OgreResourceProvider* resourceProvider = nullptr;
    std::unique_ptr<GuiImageCodec> imageCodec;
    CEGUI::System* guiSystem = nullptr;
    CEGUI::WindowManager* windowManager = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    bool enabled = false;
    std::unique_ptr<GuiRenderQueueListener> guiDrawing;
};
