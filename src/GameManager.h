// The application: builds everything at start-up, runs the main loop, forwards frame and
// input events to the game state on top of the stack, restarts the engine on request and
// releases everything at the end. One static instance, reached through getInstance. It lies
// with the frame, as every state and scene is handed it; its start routine, which builds the
// game (GameManagerStart.cpp), lies at the top with main.
#pragma once

#include "GameStateStack.h"

#include <OGRE/OgreFrameListener.h>
#include <OIS/OISJoyStick.h>
#include <OIS/OISKeyboard.h>
#include <OIS/OISMouse.h>

#include <chrono>
#include <functional>
#include <memory>
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
    // The race scene's type lies above the frame: the scene is deleted by the function it was
    // made with.
    using GameSceneHolder = std::unique_ptr<GameScene, void (*)(GameScene*)>;

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
    // The state on top of the stack (the one that gets the frames and the input); null when none.
    GameState* getCurrentState() const { return states.top(); }

    // For test drivers such as the soak test: called at every frame start before the top
    // state; false ends the loop as a state's false would.
    void setFrameHook(std::function<bool(GameManager*)> hook) { frameHook = std::move(hook); }

    GameScene* getGameScene() const { return gameScene.get(); }
    GuiScene* getGuiScene() const { return guiScene.get(); }
    GameConfiguration* getGameConfiguration() const { return settings.get(); }
    Ogre::RenderWindow* getRenderWindow() const { return window; }
    Ogre::OverlaySystem* getOverlaySystem() const { return overlaySystem.get(); }
    InputManager* getInputManager() const { return inputManager.get(); }

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
    // Loads the engine plug-ins a Plugins.cfg names; throws a std::string naming the one that fails.
    void loadEnginePlugins(const std::string& pluginsFile);
    void runLoop();
    void writeNumberedScreenshot();

    // The engine root must be shut down before it is deleted.
    struct RootCloser
    {
        void operator()(Ogre::Root* root) const;
    };

    // Owned objects, declared so that they are destroyed (and reset by shutdown) from the
    // last to the first: what uses another object goes before it.
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<GameConfiguration> settings;
    std::unique_ptr<Ogre::Root, RootCloser> root;
    std::unique_ptr<Ogre::OverlaySystem> overlaySystem;  // its font textures need the root
    std::unique_ptr<Ogre::Timer> frameTimer;
    std::unique_ptr<DebugOverlay> statisticsOverlay;
    std::unique_ptr<InputManager> inputManager;
    std::unique_ptr<ActionMapper> actionMapper;  // listens to the input manager
    GameSceneHolder gameScene{nullptr, nullptr};
    std::unique_ptr<GuiScene> guiScene;

    Ogre::RenderWindow* window = nullptr;  // the root's; closed before the root shuts down
    GameStateStack states;
    bool restartRequested = false;
    int screenshotCounter = 0;  // never reset, not even by a restart
    const std::string version = "0.7";
    std::chrono::steady_clock::time_point startTime;
    bool firstFrameLogged = false;
    bool insideFrameStarted = false;  // a frame rendered from within a state's frame is only drawn
    std::function<bool(GameManager*)> frameHook;
    // Set by the start routine, as they lie above the frame: the sound's update at every frame
    // start, and the screenshot F8 takes.
    std::function<void()> updateSound;
    std::function<void()> takeScreenshot;

    static GameManager instance;
};
