// The pause menu.
#include "gui/InGameMenuState.h"

#include "GameManager.h"
#include "gui/LoadState.h"
#include "gui/MainMenuState.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>

InGameMenuState InGameMenuState::instance;

InGameMenuState* InGameMenuState::getInstance()
{
    return &instance;
}

void InGameMenuState::enter()
{
    MenuState::enter();
    resumeRequested = mainMenuRequested = restartRequested = false;
    CEGUI::Window* menu = showLayout("InGameMenuState", "InGameMenu.layout");
    const auto subscribe = [menu, this](const char* name, bool (InGameMenuState::*handler)(const CEGUI::EventArgs&)) {
        findWindow("InGameMenuState", menu, name)->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                      CEGUI::Event::Subscriber(handler, this));
    };
    subscribe("Resume", &InGameMenuState::handleResume);
    subscribe("Restart", &InGameMenuState::handleRestart);
    subscribe("MainMenu", &InGameMenuState::handleMainMenu);
}

void InGameMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (event.key == OIS::KC_ESCAPE)
        resumeRequested = true;
}

bool InGameMenuState::handleResume(const CEGUI::EventArgs&)
{
    resumeRequested = true;
    return true;
}

bool InGameMenuState::handleMainMenu(const CEGUI::EventArgs&)
{
    mainMenuRequested = true;
    return true;
}

bool InGameMenuState::handleRestart(const CEGUI::EventArgs&)
{
    restartRequested = true;
    return true;
}

bool InGameMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (restartRequested)
    {
        // The race below is left and the same track loaded afresh.
        manager->popState();
        manager->changeState(LoadState::getInstance());
    }
    else if (mainMenuRequested)
    {
        manager->popState();
        manager->changeState(MainMenuState::getInstance());
    }
    else if (resumeRequested)
        manager->popState();
    return true;
}

bool InGameMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
