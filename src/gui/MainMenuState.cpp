// The main menu.
#include "gui/MainMenuState.h"

#include "GameManager.h"
#include "GuiScene.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>

MainMenuState MainMenuState::instance;

MainMenuState* MainMenuState::getInstance()
{
    return &instance;
}

void MainMenuState::enter()
{
    quitRequested = false;
    CEGUI::Window* menu = showLayout("MainMenuState", "MainMenu.layout");
    menu->getChild("Menu/Quit")->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                CEGUI::Event::Subscriber(&MainMenuState::onQuit, this));
}

void MainMenuState::exit()
{
    hideLayout();
}

void MainMenuState::pause()
{
    layout->hide();
}

void MainMenuState::resume()
{
    GameManager::getInstance()->getGuiScene()->enable();
    layout->show();
}

bool MainMenuState::onQuit(const CEGUI::EventArgs&)
{
    quitRequested = true;
    return true;
}

bool MainMenuState::frameStarted(GameManager*, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    return !quitRequested;
}

bool MainMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return !quitRequested;
}
