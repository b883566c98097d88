// Owns the input devices on the game window (buffered keyboard, mouse, every joystick)
// and fans each event out to the listeners registered by name, in name order.
#pragma once

#include <OIS/OISJoyStick.h>
#include <OIS/OISKeyboard.h>
#include <OIS/OISMouse.h>

#include "ListenerRegistry.h"

#include <string>
#include <vector>

namespace OIS
{
class InputManager;
}
namespace Ogre
{
class RenderWindow;
}

class InputManager : public OIS::KeyListener, public OIS::MouseListener, public OIS::JoyStickListener
{
public:
    InputManager() = default;
    ~InputManager() override;
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    // Creates the input system and the devices on the window; later calls only log.
    void initialise(Ogre::RenderWindow* window);
    // Reads every device; the listeners are called for each buffered event meanwhile.
    void capture();

    // A name is registered once; the first registration stays. Ignored when the device is missing.
    void addKeyListener(OIS::KeyListener* listener, const std::string& name);
    void addMouseListener(OIS::MouseListener* listener, const std::string& name);
    void addJoystickListener(OIS::JoyStickListener* listener, const std::string& name);
    // By pointer: removes the first entry in name order that holds it.
    void removeKeyListener(OIS::KeyListener* listener);
    void removeMouseListener(OIS::MouseListener* listener);
    void removeJoystickListener(OIS::JoyStickListener* listener);
    void removeKeyListener(const std::string& name);
    void removeMouseListener(const std::string& name);
    void removeJoystickListener(const std::string& name);
    void removeAllKeyListeners();
    void removeAllMouseListeners();
    void removeAllJoystickListeners();
    void removeAllListeners();

    OIS::Keyboard* getKeyboard() const { return keyboard; }
    OIS::Mouse* getMouse() const { return mouse; }
    unsigned getNumOfJoysticks() const { return static_cast<unsigned>(joysticks.size()); }
    OIS::JoyStick* getJoystick(unsigned index) const { return index < joysticks.size() ? joysticks[index] : nullptr; }
    // The area in which the mouse's absolute position is kept; needs a mouse.
    void setWindowExtents(int width, int height);

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;
    bool mouseMoved(const OIS::MouseEvent& event) override;
    bool mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    bool mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID id) override;
    bool povMoved(const OIS::JoyStickEvent& event, int pov) override;
    bool axisMoved(const OIS::JoyStickEvent& event, int axis) override;
    bool sliderMoved(const OIS::JoyStickEvent& event, int slider) override;
    bool buttonPressed(const OIS::JoyStickEvent& event, int button) override;
    bool buttonReleased(const OIS::JoyStickEvent& event, int button) override;

private:
    OIS::InputManager* inputSystem = nullptr;
    OIS::Mouse* mouse = nullptr;
    OIS::Keyboard* keyboard = nullptr;
    std::vector<OIS::JoyStick*> joysticks;
    ListenerRegistry<OIS::KeyListener> keyListeners;
    ListenerRegistry<OIS::MouseListener> mouseListeners;
    ListenerRegistry<OIS::JoyStickListener> joystickListeners;
};
