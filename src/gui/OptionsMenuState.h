// The options menu: video, sound and key bindings. For now it holds the keyboard that
// names key codes in the binding labels.
#pragma once

#include "gui/MenuState.h"

namespace OIS
{
class Keyboard;
}

class OptionsMenuState : public MenuState
{
public:
    static OptionsMenuState* getInstance();

    // The input library's keyboard, used to name key codes.
    void setKeyboard(OIS::Keyboard* newKeyboard) { keyboard = newKeyboard; }
    OIS::Keyboard* getKeyboard() const { return keyboard; }

    // The menu's layout and its settings pages come with the menus; until then nothing enters it.
    void enter() override {}
    void exit() override {}
    void pause() override {}
    void resume() override {}
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    OptionsMenuState() = default;

    OIS::Keyboard* keyboard = nullptr;
    static OptionsMenuState instance;
};
