// Bindings from input keys to actions.
#include "ActionMapper.h"

#include "Action.h"
#include "InputManager.h"

int ActionMapper::instanceCount = 0;

ActionMapper::ActionMapper(InputManager* inputManager)
    : inputManager(inputManager),
      listenerName(instanceCount == 0 ? "ActionMapper" : "ActionMapper" + std::to_string(instanceCount))
{
    // "ActionMapper" sorts before the GameManager's listener names, so bindings see events first.
    inputManager->addJoystickListener(this, listenerName);
    inputManager->addKeyListener(this, listenerName);
    ++instanceCount;
}

ActionMapper::~ActionMapper()
{
    inputManager->removeJoystickListener(static_cast<OIS::JoyStickListener*>(this));
    inputManager->removeKeyListener(static_cast<OIS::KeyListener*>(this));
}

Action* ActionMapper::bind(const InputKey& key, Action* action)
{
    if (key.getType() == InputKey::Undefined)
        return nullptr;
    Action*& bound = bindings[key];
    Action* previous = bound;
    bound = action;
    action->setAnalog(key.isAxis());
    return previous;
}

void ActionMapper::unbind(Action* action)
{
    for (auto binding = bindings.begin(); binding != bindings.end();)
    {
        if (binding->second == action)
            binding = bindings.erase(binding);
        else
            ++binding;
    }
}

Action* ActionMapper::find(const InputKey& key) const
{
    const auto binding = bindings.find(key);
    return binding == bindings.end() ? nullptr : binding->second;
}

void ActionMapper::setPressed(const InputKey& key, bool pressed)
{
    if (Action* action = find(key))
    {
        if (pressed)
            action->press();
        else
            action->release();
    }
}

void ActionMapper::setAxisPosition(int axis, int position)
{
    const float positive = position > 0 ? static_cast<float>(position) / 32767.0f : 0.0f;
    const float negative = position > 0 ? 0.0f : static_cast<float>(position) / -32768.0f;
    if (Action* action = find(InputKey(InputKey::AxisPositive, axis)))
        action->setValue(positive);
    if (Action* action = find(InputKey(InputKey::AxisNegative, axis)))
        action->setValue(negative);
}

void ActionMapper::setPovDirection(int pov, int direction)
{
    Action* up = find(InputKey(InputKey::PovUp, pov));
    Action* down = find(InputKey(InputKey::PovDown, pov));
    Action* left = find(InputKey(InputKey::PovLeft, pov));
    Action* right = find(InputKey(InputKey::PovRight, pov));
    auto press = [](Action* action) { if (action) action->press(); };
    auto release = [](Action* action) { if (action) action->release(); };

    if (direction == OIS::Pov::Centered)
    {
        release(left);
        release(right);
        release(down);
        release(up);
        return;
    }
    if (direction & OIS::Pov::North)
    {
        press(up);
        release(down);
    }
    else if (direction & OIS::Pov::South)
    {
        press(down);
        release(up);
    }
    else
    {
        release(down);
        release(up);
    }
    if (direction & OIS::Pov::East)
    {
        press(right);
        release(left);
    }
    else if (direction & OIS::Pov::West)
    {
        press(left);
        release(right);
    }
    else
    {
        release(left);
        release(right);
    }
}

bool ActionMapper::keyPressed(const OIS::KeyEvent& event)
{
    setPressed(InputKey(InputKey::KeyboardKey, event.key), true);
    return true;
}

bool ActionMapper::keyReleased(const OIS::KeyEvent& event)
{
    setPressed(InputKey(InputKey::KeyboardKey, event.key), false);
    return true;
}

bool ActionMapper::buttonPressed(const OIS::JoyStickEvent&, int button)
{
    setPressed(InputKey(InputKey::JoystickButton, button), true);
    return true;
}

bool ActionMapper::buttonReleased(const OIS::JoyStickEvent&, int button)
{
    setPressed(InputKey(InputKey::JoystickButton, button), false);
    return true;
}

bool ActionMapper::axisMoved(const OIS::JoyStickEvent& event, int axis)
{
    if (axis >= 0 && static_cast<size_t>(axis) < event.state.mAxes.size())
        setAxisPosition(axis, event.state.mAxes[static_cast<size_t>(axis)].abs);
    return true;
}

bool ActionMapper::povMoved(const OIS::JoyStickEvent& event, int pov)
{
    if (pov >= 0 && pov < 4)
        setPovDirection(pov, event.state.mPOV[pov].direction);
    return true;
}
