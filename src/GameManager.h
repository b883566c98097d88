// The application: builds everything at start-up, runs the main loop, forwards frame and
// input events to the game state on top of the stack, restarts the engine on request and
// releases everything at the end. One static instance, reached through getInstance.
#pragma once

#include "GameStateStack.h"

#include <OGRE/OgreFrameListener.h>
#include <OIS/OISJoyStick.h>
#include <OIS/OISKeyboard.h>
#include <OIS/OISMouse.h>

#include <chrono>
#include <functional>
#include <string>

namespace Ogre
{
class LogManager;
class OverlaySystem;
class RenderWindow;
class Root;
class Timer;
}

class ActionMapper;
class DebugOverlay;
class GameConfiguration;
class GameScene;
class GameState;
class GuiScene;
class InputManager;

class GameManager : public Ogre::FrameListener,
                    public OIS::KeyListener,
                    public OIS::MouseListener,
                    public OIS::JoyStickListener
{
public:
    static GameManager* getInstance();

    // Builds everything and runs the main loop until the game ends; restarts run inside.
    // Throws a std::string when the game cannot start (no HOME, no physics, no renderer, no GUI).
    void start();
    // Releases whatever exists; harmless when called twice.
    void shutdown();
    // Asks for an engine restart once the current loop ends.
    void requestRestart() { restartRequested = true; }
    // Opens the window with the configured render system; false when there is none.
    bool configure();
    // Registers the resource locations of the configured resources file.
    void setupResources();
    // Replaces the race scene by a fresh, empty one.
    void resetGameScene();

    void pushState(GameState* state);
    void changeState(GameState* state);
    void popState();

    // For test drivers such as the soak test: called at every frame start before the top
    // state; false ends the loop as a state's false would.
    void setFrameHook(std::function<bool(GameManager*)> hook) { frameHook = std::move(hook); }

    GameScene* getGameScene() const { return gameScene; }
    GuiScene* getGuiScene() const { return guiScene; }
    GameConfiguration* getGameConfiguration() const { return settings; }
    Ogre::RenderWindow* getRenderWindow() const { return window; }
    Ogre::OverlaySystem* getOverlaySystem() const { return overlaySystem; }
    InputManager* getInputManager() const { return inputManager; }

    bool frameStarted(const Ogre::FrameEvent& event) override;
    bool frameEnded(const Ogre::FrameEvent& event) override;
    ~GameManager() override;

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;
    bool mouseMoved(const OIS::MouseEvent& event) override;
    bool mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    bool mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    bool povMoved(const OIS::JoyStickEvent& event, int pov) override;
    bool axisMoved(const OIS::JoyStickEvent& event, int axis) override;
    bool sliderMoved(const OIS::JoyStickEvent& event, int slider) override;
    bool buttonPressed(const OIS::JoyStickEvent& event, int button) override;
    bool buttonReleased(const OIS::JoyStickEvent& event, int button) override;

private:
    GameManager() = default;
    GameManager(const GameManager&) = delete;
    GameManager& operator=(const GameManager&) = delete;

    class LoopHost;

    void startOnce();
    std::string createUserFolders();
    void runLoop();
    void takeScreenshot();

    Ogre::Root* root = nullptr;
    Ogre::RenderWindow* window = nullptr;
    InputManager* inputManager = nullptr;
    GameStateStack states;
    DebugOverlay* statisticsOverlay = nullptr;
    bool restartRequested = false;
    GameScene* gameScene = nullptr;
    GuiScene* guiScene = nullptr;
    ActionMapper* actionMapper = nullptr;
    int screenshotCounter = 0;  // never reset, not even by a restart
    GameConfiguration* settings = nullptr;
    Ogre::Timer* frameTimer = nullptr;
    const std::string version = "0.7";
    Ogre::LogManager* logManager = nullptr;
    Ogre::OverlaySystem* overlaySystem = nullptr;
    std::chrono::steady_clock::time_point startTime;
    bool firstFrameLogged = false;
    bool insideFrameStarted = false;  // a frame rendered from within a state's frame is only drawn
    std::function<bool(GameManager*)> frameHook;

    static GameManager instance;
};
