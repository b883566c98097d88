// The pause menu.
#include "gui/InGameMenuState.h"

#include "GameManager.h"
#include "PlayState.h"

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
    CEGUI::Window* menu = showLayout("InGameMenuState", "InGameMenu.xml");
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
        PlayState::getInstance()->restartRace();
        manager->popState();
    }
    else if (mainMenuRequested)
    {
        // The race leaves on its own next frame, as it does for every other way out.
        PlayState::getInstance()->requestMainMenu();
        manager->popState();
    }
    else if (resumeRequested)
        manager->popState();
    return true;
}

bool InGameMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
