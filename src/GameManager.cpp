// The manager as the frame holds it: the state stack, the events forwarded to the state on
// top, and the shutdown. The start routine that builds the engine, the scenes and the states
// is GameManagerStart.cpp, at the top of the layers; what the frame does each frame and on F8
// that lies above it (the sound's update, the screenshot), the start routine hands it.
#include "GameManager.h"

#include "ActionMapper.h"
#include "DebugOverlay.h"
#include "GameConfiguration.h"
#include "GameState.h"
#include "GuiScene.h"
#include "InputManager.h"
#include "LogStream.h"

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

GameManager GameManager::instance;

GameManager* GameManager::getInstance()
{
    return &instance;
}

GameManager::~GameManager()
{
    shutdown();
}

void GameManager::pushState(GameState* state)
{
    states.push(state);
}

void GameManager::changeState(GameState* state)
{
    states.change(state);
}

void GameManager::popState()
{
    states.pop();
}

void GameManager::RootCloser::operator()(Ogre::Root* engine) const
{
    engine->shutdown();
    delete engine;
}

void GameManager::shutdown()
{
    states.clear();
    // The reverse of the members' declaration order, as their destructors would run.
    guiScene.reset();
    gameScene.reset();
    actionMapper.reset();
    inputManager.reset();
    statisticsOverlay.reset();
    frameTimer.reset();
    if (window)
    {
        window->destroy();
        window = nullptr;
    }
    // Overlays (and their font textures) go while the texture manager still exists.
    overlaySystem.reset();
    root.reset();
    settings.reset();
    logManager.reset();
}

bool GameManager::frameStarted(const Ogre::FrameEvent& event)
{
    // The GUI leaves the scissor test on with its last window's rectangle, and the engine no
    // longer resets it between viewports: the race view would stay clipped to that rectangle.
    root->getRenderSystem()->setScissorTest(false);
    // A state may render a frame of its own (the race's HDR test frame, a loading caption):
    // that frame is drawn, but neither the states nor the hook see it, so no state runs its
    // frame work twice over, or inside itself.
    if (insideFrameStarted)
        return true;
    insideFrameStarted = true;
    struct Leave
    {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{insideFrameStarted};
    statisticsOverlay->update(DebugOverlay::frameStatistics(*window));
    if (updateSound)
        updateSound();
    inputManager->capture();
    if (frameHook && !frameHook(this))
        return false;
    return states.top()->frameStarted(this, event);
}

bool GameManager::frameEnded(const Ogre::FrameEvent& event)
{
    if (insideFrameStarted)
        return true;
    if (!firstFrameLogged)
    {
        firstFrameLogged = true;
        const auto elapsed = std::chrono::steady_clock::now() - startTime;
        debugLog() << "first frame after " << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                   << " ms" << std::endl;
    }
    return states.top()->frameEnded(this, event);
}

bool GameManager::keyPressed(const OIS::KeyEvent& event)
{
    if (event.key == OIS::KC_F12)
        statisticsOverlay->setVisible(!statisticsOverlay->isVisible());
    else if (event.key == OIS::KC_F8 && takeScreenshot)
        takeScreenshot();
    states.top()->keyPressed(this, event);
    return true;
}

bool GameManager::keyReleased(const OIS::KeyEvent& event)
{
    states.top()->keyReleased(this, event);
    return true;
}

bool GameManager::mouseMoved(const OIS::MouseEvent& event)
{
    states.top()->mouseMoved(this, event);
    return true;
}

bool GameManager::mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    states.top()->mousePressed(this, event, id);
    return true;
}

bool GameManager::mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    states.top()->mouseReleased(this, event, id);
    return true;
}

bool GameManager::povMoved(const OIS::JoyStickEvent& event, int pov)
{
    states.top()->povMoved(this, event, pov);
    return true;
}

bool GameManager::axisMoved(const OIS::JoyStickEvent& event, int axis)
{
    states.top()->axisMoved(this, event, axis);
    return true;
}

bool GameManager::sliderMoved(const OIS::JoyStickEvent& event, int slider)
{
    states.top()->sliderMoved(this, event, slider);
    return true;
}

bool GameManager::buttonPressed(const OIS::JoyStickEvent& event, int button)
{
    states.top()->buttonPressed(this, event, button);
    return true;
}

bool GameManager::buttonReleased(const OIS::JoyStickEvent& event, int button)
{
    states.top()->buttonReleased(this, event, button);
    return true;
}
