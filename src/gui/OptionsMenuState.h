// The options menu: video, sound and key bindings. Its settings pages are not built yet: the
// screen says so and leads back to the main menu. It holds the keyboard that names key codes
// in the binding labels.
#pragma once

#include "gui/MenuState.h"

namespace CEGUI
{
class EventArgs;
}
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

    void enter() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    OptionsMenuState() = default;
    bool handleBack(const CEGUI::EventArgs& args);

    bool backRequested = false;
    OIS::Keyboard* keyboard = nullptr;
    static OptionsMenuState instance;
};
