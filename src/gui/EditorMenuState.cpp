#include "gui/EditorMenuState.h"

#include "GameManager.h"
#include "gui/MainMenuState.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>

EditorMenuState EditorMenuState::instance;

EditorMenuState* EditorMenuState::getInstance()
{
    return &instance;
}

void EditorMenuState::enter()
{
    MenuState::enter();
    backRequested = false;
    CEGUI::Window* screen = showLayout("EditorMenuState", "ComingSoon.layout");
    findWindow("EditorMenuState", screen, "Title")->setText("Track editor");
    findWindow("EditorMenuState", screen, "Back")->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                      CEGUI::Event::Subscriber(&EditorMenuState::handleBack, this));
}

void EditorMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (event.key == OIS::KC_ESCAPE)
        backRequested = true;
}

bool EditorMenuState::handleBack(const CEGUI::EventArgs&)
{
    backRequested = true;
    return true;
}

bool EditorMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (backRequested)
        manager->changeState(MainMenuState::getInstance());
    return true;
}

bool EditorMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
