// The main menu: the first state entered, with the menu music; quitting here ends the game.
#pragma once

#include "gui/MenuState.h"

namespace CEGUI
{
class EventArgs;
}

class NodeSound;

class MainMenuState : public MenuState
{
public:
    static MainMenuState* getInstance();

    void enter() override;
    void exit() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    // False once the player chose to quit.
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    MainMenuState() = default;
    static void applyAudioSettings();
    // The music if it still exists, else null.
    NodeSound* liveMusic();
    bool handlePlay(const CEGUI::EventArgs& args);
    bool handleEditor(const CEGUI::EventArgs& args);
    bool handleOptions(const CEGUI::EventArgs& args);
    bool handleQuit(const CEGUI::EventArgs& args);

    bool playRequested = false;
    bool editorRequested = false;
    bool optionsRequested = false;
    bool quitRequested = false;
    // Made at the first entry, kept across entries, destroyed on quit; the sound facade holds
    // it, and destroys it at an engine restart (its clear count then moves on).
    NodeSound* music = nullptr;
    unsigned musicClearCount = 0;
    static MainMenuState instance;
};
