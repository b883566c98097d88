// Base of every menu state: lays the GUI scene over the window, loads the state's GUI
// layout and hands keyboard and mouse input to the GUI library.
#pragma once

#include "GameState.h"
#include "gui/WindowKind.h"

#include <CEGUI/InputEvent.h>

#include <cstddef>
#include <map>
#include <string>

namespace CEGUI
{
class Window;
}

class MenuState : public GameState
{
public:
    // Enables the GUI scene, takes the race scene's screen effects off, shows the cursor.
    void enter() override;
    // Hides the GUI scene and destroys the layout with every window attached to it.
    void exit() override;
    void pause() override {}
    void resume() override {}

    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    void keyReleased(GameManager* manager, const OIS::KeyEvent& event) override;
    void mouseMoved(GameManager* manager, const OIS::MouseEvent& event) override;
    void mousePressed(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    void mouseReleased(GameManager* manager, const OIS::MouseEvent& event, OIS::MouseButtonID id) override;

    // Right and middle map to themselves; every other button is the left one.
    static CEGUI::MouseButton convertButton(OIS::MouseButtonID id);
    // The text a state throws when its screen can't be shown; problem, when given, says why
    // (the file and what is wrong with it) on a line of its own after the first.
    static std::string entryError(const std::string& stateName, const std::string& problem = "");

protected:
    MenuState() = default;
    ~MenuState() = default;

    // Loads the layout and makes it the GUI's root window. One that is missing or damaged is
    // logged and thrown as entryError(stateName), both naming the file and which of the two it is.
    CEGUI::Window* showLayout(const std::string& stateName, const std::string& layoutFile);
    // The windows of a layout file, not yet shown; a missing or damaged file as showLayout.
    static CEGUI::Window* readLayout(const std::string& stateName, const std::string& layoutFile);
    // The window of that name below root; logs and throws entryError(stateName) when there is none.
    static CEGUI::Window* findWindow(const std::string& stateName, CEGUI::Window* root, const std::string& name);
    using WindowMap = std::map<std::string, CEGUI::Window*>;
    // Every window of the table below root, by name; logs and throws entryError(stateName) for
    // one that is missing or of another kind.
    template <std::size_t count>
    static WindowMap lookUpWindows(const std::string& stateName, CEGUI::Window* root,
                                   const NamedWindow (&table)[count])
    {
        return lookUpWindows(stateName, root, table, count);
    }
    static WindowMap lookUpWindows(const std::string& stateName, CEGUI::Window* root, const NamedWindow* table,
                                   std::size_t count);
    // Advances the GUI's clock (tooltips, caret, fades).
    static void injectTimePulse(float seconds);
    static void showCursor(bool visible);

    CEGUI::Window* layout = nullptr;
};
