// The options menu: render system, screen mode, picture quality, vegetation, shadows and
// screen effects, audio switches and volumes, and the eight bindings, captured from the
// keyboard or a joystick. Save stores every control in the settings and writes their file
// (restarting the engine when a video setting needs it); Back and Escape store nothing.
#pragma once

#include "gui/BindingCapture.h"
#include "gui/MenuState.h"
#include "gui/OptionsChoices.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace CEGUI
{
class Combobox;
class EventArgs;
class PushButton;
class Scrollbar;
class ToggleButton;
class Window;
}
namespace OIS
{
class Keyboard;
}

class GameConfiguration;

class OptionsMenuState : public MenuState
{
public:
    static OptionsMenuState* getInstance();

    // The input library's keyboard, used to name key codes in the binding labels.
    void setKeyboard(OIS::Keyboard* newKeyboard) { keyboard = newKeyboard; }
    OIS::Keyboard* getKeyboard() const { return keyboard; }

    void enter() override;
    void exit() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    void povMoved(GameManager* manager, const OIS::JoyStickEvent& event, int pov) override;
    void axisMoved(GameManager* manager, const OIS::JoyStickEvent& event, int axis) override;
    void buttonPressed(GameManager* manager, const OIS::JoyStickEvent& event, int button) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

    // Stores every control in the settings and writes the settings file, both or neither;
    // a failure is shown in the menu.
    OptionsRules::SaveResult handleSave();
    // The binding whose button this is, -1 when none.
    int findBinding(const CEGUI::Window* button) const;

private:
    OptionsMenuState() = default;

    bool handleSaveClicked(const CEGUI::EventArgs& args);
    bool handleBackClicked(const CEGUI::EventArgs& args);
    bool handleBindingClicked(const CEGUI::EventArgs& args);
    bool handleComboAccepted(const CEGUI::EventArgs& args);
    bool handleCheckChanged(const CEGUI::EventArgs& args);
    bool handleTabChanged(const CEGUI::EventArgs& args);

    void lookUpWindows(CEGUI::Window* root);
    void subscribeHandlers();
    void fillRenderers();
    void fillVideoModes();
    void fillAspects();
    void fillRendererOptions();
    void fillQualityLists();
    void fillAudioOptions();
    void fillBindings();

    void showCompletion(const BindingCapture::Completion& done);
    void showBinding(int slot);
    void cancelCapture();
    OptionsChoices readControls() const;

    CEGUI::Combobox* combo(const char* name) const;
    CEGUI::ToggleButton* check(const char* name) const;
    CEGUI::Scrollbar* scroll(const char* name) const;
    CEGUI::Window* window(const char* name) const;
    void enable(const std::vector<const char*>& names, bool enabled) const;

    bool saveRequested = false;
    bool backRequested = false;
    WindowMap windows;  // the layout's, looked up on entry
    std::array<CEGUI::PushButton*, kBindingCount> bindingButtons{};
    BindingCapture capture;
    OIS::Keyboard* keyboard = nullptr;
    GameConfiguration* settings = nullptr;  // the manager's, taken on every entry
    static OptionsMenuState instance;
};
