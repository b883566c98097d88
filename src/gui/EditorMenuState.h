// The track editor's entry. The editor itself is not built yet: the screen says so and
// leads back to the main menu.
#pragma once

#include "gui/MenuState.h"

namespace CEGUI
{
class EventArgs;
}

class EditorMenuState : public MenuState
{
public:
    static EditorMenuState* getInstance();

    void enter() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    EditorMenuState() = default;
    bool handleBack(const CEGUI::EventArgs& args);

    bool backRequested = false;
    static EditorMenuState instance;
};
