// Base of every menu state: loads its GUI layout on entry and hands input to the GUI library.
#pragma once

#include "GameState.h"

#include <string>

namespace CEGUI
{
class Window;
}

class MenuState : public GameState
{
public:
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    void keyReleased(GameManager* manager, const OIS::KeyEvent& event) override;
    void mouseMoved(GameManager* manager, const OIS::MouseEvent& event) override;
    void mousePressed(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    void mouseReleased(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id) override;

protected:
    MenuState() = default;
    ~MenuState() = default;

    // Enables the GUI scene and shows the layout; throws "<State> Error!!..." as a std::string on failure.
    CEGUI::Window* showLayout(const std::string& stateName, const std::string& layoutFile);
    // Removes the layout shown by showLayout.
    void hideLayout();
    // Advances the GUI's clock (tooltips, caret, fades).
    static void injectTimePulse(float seconds);

    CEGUI::Window* layout = nullptr;
};
