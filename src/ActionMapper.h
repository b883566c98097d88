// Turns keyboard and joystick events into Actions through bindings. A key has at most
// one action; an action may have several keys. Actions are borrowed, never owned.
#pragma once

#include "InputKey.h"

#include <OIS/OISJoyStick.h>
#include <OIS/OISKeyboard.h>

#include <map>
#include <string>

class Action;
class InputManager;

class ActionMapper : public OIS::KeyListener, public OIS::JoyStickListener
{
public:
    // Registers itself with the input manager as joystick and key listener.
    explicit ActionMapper(InputManager* inputManager);
    ~ActionMapper() override;
    ActionMapper(const ActionMapper&) = delete;
    ActionMapper& operator=(const ActionMapper&) = delete;

    // Binds the key to the action and returns the action it had before (or null).
    // An undefined key binds nothing.
    Action* bind(const InputKey& key, Action* action);
    // Removes every binding of the action.
    void unbind(Action* action);

    // The name it is registered under; the first mapper of a run is "ActionMapper".
    const std::string& getListenerName() const { return listenerName; }

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;
    bool buttonPressed(const OIS::JoyStickEvent& event, int button) override;
    bool buttonReleased(const OIS::JoyStickEvent& event, int button) override;
    bool axisMoved(const OIS::JoyStickEvent& event, int axis) override;
    bool povMoved(const OIS::JoyStickEvent& event, int pov) override;

    // The event-independent halves of the handlers, for callers without device events.
    void setPressed(const InputKey& key, bool pressed);
    void setAxisPosition(int axis, int position);   // -32768..32767
    void setPovDirection(int pov, int direction);   // OIS::Pov bits

private:
    Action* find(const InputKey& key) const;

    InputManager* inputManager;
    std::map<InputKey, Action*> bindings;
    std::string listenerName;
    static int instanceCount;
};
