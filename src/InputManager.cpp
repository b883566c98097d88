// Input devices and the fan-out of their events.
#include "InputManager.h"

#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreRenderWindow.h>
#include <OIS/OISInputManager.h>

#include <sstream>

namespace
{
void logMessage(const std::string& message)
{
    if (Ogre::LogManager::getSingletonPtr())
        Ogre::LogManager::getSingleton().logMessage(message);
}
}

InputManager::~InputManager()
{
    if (!inputSystem)
        return;
    if (mouse)
    {
        inputSystem->destroyInputObject(mouse);
        mouse = nullptr;
    }
    if (keyboard)
    {
        inputSystem->destroyInputObject(keyboard);
        keyboard = nullptr;
    }
    for (OIS::JoyStick* joystick : joysticks)
        inputSystem->destroyInputObject(joystick);
    joysticks.clear();
    OIS::InputManager::destroyInputSystem(inputSystem);
    inputSystem = nullptr;
    removeAllListeners();
}

void InputManager::initialise(Ogre::RenderWindow* window)
{
    logMessage("\n\nInitialising InputManager...");
    if (inputSystem)
        return;

    size_t windowHandle = 0;
    window->getCustomAttribute("WINDOW", &windowHandle);
    OIS::ParamList parameters;
    parameters.insert(std::make_pair(std::string("WINDOW"), std::to_string(windowHandle)));
    // The game runs in a window among others: it must not take the pointer or keyboard away.
    parameters.insert(std::make_pair(std::string("x11_mouse_grab"), std::string("false")));
    parameters.insert(std::make_pair(std::string("x11_mouse_hide"), std::string("false")));
    parameters.insert(std::make_pair(std::string("x11_keyboard_grab"), std::string("false")));

    logMessage("creating InputSystem");
    inputSystem = OIS::InputManager::createInputSystem(parameters);

    if (inputSystem->getNumberOfDevices(OIS::OISKeyboard) > 0)
    {
        logMessage("creating keyboard");
        keyboard = static_cast<OIS::Keyboard*>(inputSystem->createInputObject(OIS::OISKeyboard, true, ""));
        keyboard->setEventCallback(this);
    }
    if (inputSystem->getNumberOfDevices(OIS::OISMouse) > 0)
    {
        logMessage("creating mouse");
        mouse = static_cast<OIS::Mouse*>(inputSystem->createInputObject(OIS::OISMouse, true, ""));
        mouse->setEventCallback(this);
        unsigned width = 0, height = 0, depth = 0;
        int left = 0, top = 0;
        window->getMetrics(width, height, depth, left, top);
        setWindowExtents(static_cast<int>(width), static_cast<int>(height));
        std::ostringstream message;
        message << "setting window extents: width: " << width << ", height: " << height;
        logMessage(message.str());
    }
    const int joystickCount = inputSystem->getNumberOfDevices(OIS::OISJoyStick);
    for (int i = 0; i < joystickCount; ++i)
    {
        logMessage("creating joystick");
        auto* joystick = static_cast<OIS::JoyStick*>(inputSystem->createInputObject(OIS::OISJoyStick, true, ""));
        joystick->setEventCallback(this);
        joysticks.push_back(joystick);
    }
}

void InputManager::capture()
{
    if (mouse)
        mouse->capture();
    if (keyboard)
        keyboard->capture();
    for (OIS::JoyStick* joystick : joysticks)
        joystick->capture();
}

void InputManager::addKeyListener(OIS::KeyListener* listener, const std::string& name)
{
    if (keyboard)
        keyListeners.add(name, listener);
}

void InputManager::addMouseListener(OIS::MouseListener* listener, const std::string& name)
{
    if (mouse)
        mouseListeners.add(name, listener);
}

void InputManager::addJoystickListener(OIS::JoyStickListener* listener, const std::string& name)
{
    if (!joysticks.empty())
        joystickListeners.add(name, listener);
}

void InputManager::removeKeyListener(OIS::KeyListener* listener) { keyListeners.remove(listener); }
void InputManager::removeMouseListener(OIS::MouseListener* listener) { mouseListeners.remove(listener); }
void InputManager::removeJoystickListener(OIS::JoyStickListener* listener)
{
    joystickListeners.remove(listener);
}
void InputManager::removeKeyListener(const std::string& name) { keyListeners.remove(name); }
void InputManager::removeMouseListener(const std::string& name) { mouseListeners.remove(name); }
void InputManager::removeJoystickListener(const std::string& name) { joystickListeners.remove(name); }
void InputManager::removeAllKeyListeners() { keyListeners.clear(); }
void InputManager::removeAllMouseListeners() { mouseListeners.clear(); }
void InputManager::removeAllJoystickListeners() { joystickListeners.clear(); }

void InputManager::removeAllListeners()
{
    removeAllKeyListeners();
    removeAllMouseListeners();
    removeAllJoystickListeners();
}

void InputManager::setWindowExtents(int width, int height)
{
    const OIS::MouseState& state = mouse->getMouseState();
    state.width = width;
    state.height = height;
}

bool InputManager::keyPressed(const OIS::KeyEvent& event)
{
    keyListeners.fanOut([&](OIS::KeyListener* l) { return l->keyPressed(event); });
    return true;
}

bool InputManager::keyReleased(const OIS::KeyEvent& event)
{
    keyListeners.fanOut([&](OIS::KeyListener* l) { return l->keyReleased(event); });
    return true;
}

bool InputManager::mouseMoved(const OIS::MouseEvent& event)
{
    mouseListeners.fanOut([&](OIS::MouseListener* l) { return l->mouseMoved(event); });
    return true;
}

bool InputManager::mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    mouseListeners.fanOut([&](OIS::MouseListener* l) { return l->mousePressed(event, id); });
    return true;
}

bool InputManager::mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    mouseListeners.fanOut([&](OIS::MouseListener* l) { return l->mouseReleased(event, id); });
    return true;
}

bool InputManager::povMoved(const OIS::JoyStickEvent& event, int pov)
{
    joystickListeners.fanOut([&](OIS::JoyStickListener* l) { return l->povMoved(event, pov); });
    return true;
}

bool InputManager::axisMoved(const OIS::JoyStickEvent& event, int axis)
{
    joystickListeners.fanOut([&](OIS::JoyStickListener* l) { return l->axisMoved(event, axis); });
    return true;
}

bool InputManager::sliderMoved(const OIS::JoyStickEvent& event, int slider)
{
    joystickListeners.fanOut([&](OIS::JoyStickListener* l) { return l->sliderMoved(event, slider); });
    return true;
}

bool InputManager::buttonPressed(const OIS::JoyStickEvent& event, int button)
{
    joystickListeners.fanOut([&](OIS::JoyStickListener* l) { return l->buttonPressed(event, button); });
    return true;
}

bool InputManager::buttonReleased(const OIS::JoyStickEvent& event, int button)
{
    joystickListeners.fanOut([&](OIS::JoyStickListener* l) { return l->buttonReleased(event, button); });
    return true;
}
