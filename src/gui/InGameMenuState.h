// The pause menu, pushed over the running race: resume, restart the race, or leave to the
// main menu.
#pragma once

#include "gui/MenuState.h"

namespace CEGUI
{
class EventArgs;
}

class InGameMenuState : public MenuState
{
public:
    static InGameMenuState* getInstance();

    void enter() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    InGameMenuState() = default;
    bool handleResume(const CEGUI::EventArgs& args);
    bool handleMainMenu(const CEGUI::EventArgs& args);
    bool handleRestart(const CEGUI::EventArgs& args);

    bool resumeRequested = false;
    bool mainMenuRequested = false;
    bool restartRequested = false;
    static InGameMenuState instance;
};
