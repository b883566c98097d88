// The main menu: the first state entered; quitting here ends the game.
#pragma once

#include "gui/MenuState.h"

namespace CEGUI
{
class EventArgs;
}

class MainMenuState : public MenuState
{
public:
    static MainMenuState* getInstance();

    void enter() override;
    void exit() override;
    void pause() override;
    void resume() override;
    // False once the player chose to quit.
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    MainMenuState() = default;
    bool onQuit(const CEGUI::EventArgs& args);

    bool quitRequested = false;
    static MainMenuState instance;
};
