// Bindings: keys, buttons, POV directions and axis sides to actions.
#include "Action.h"
#include "ActionMapper.h"
#include "DriveActions.h"
#include "GameConfiguration.h"
#include "InputKey.h"
#include "InputManager.h"

#include <gtest/gtest.h>

namespace
{
OIS::KeyEvent keyEvent(int code)
{
    return OIS::KeyEvent(nullptr, static_cast<OIS::KeyCode>(code), 0);
}

// A joystick event only refers to its state, so the state lives here.
OIS::JoyStickState joystickState;

OIS::JoyStickEvent axisEvent(int axis, int position)
{
    joystickState.clear();
    joystickState.mAxes.assign(static_cast<size_t>(axis) + 1, OIS::Axis());
    joystickState.mAxes[static_cast<size_t>(axis)].abs = position;
    return OIS::JoyStickEvent(nullptr, joystickState);
}

OIS::JoyStickEvent povEvent(int pov, int direction)
{
    joystickState.clear();
    joystickState.mPOV[pov].direction = direction;
    return OIS::JoyStickEvent(nullptr, joystickState);
}

class ActionMapperTest : public ::testing::Test
{
protected:
    InputManager input;  // without devices: the mapper's registration is ignored
    ActionMapper mapper{&input};
    Action a, b;
};
}

TEST_F(ActionMapperTest, RebindingAKeyMovesItAndReturnsTheOldAction)
{
    EXPECT_EQ(nullptr, mapper.bind(InputKey(1, 200), &a));
    EXPECT_EQ(&a, mapper.bind(InputKey(1, 200), &b));
    mapper.keyPressed(keyEvent(200));
    EXPECT_FALSE(a.isPressed());
    EXPECT_TRUE(b.isPressed());
    mapper.keyReleased(keyEvent(200));
    EXPECT_FALSE(b.isPressed());
    EXPECT_EQ(nullptr, mapper.bind(InputKey(0, 200), &a)) << "an undefined key binds nothing";
    mapper.keyPressed(keyEvent(200));
    EXPECT_TRUE(b.isPressed());
}

TEST_F(ActionMapperTest, TheLastBoundKeyDecidesAnalog)
{
    mapper.bind(InputKey(7, 0), &a);
    EXPECT_TRUE(a.isAnalog());
    mapper.bind(InputKey(1, 30), &a);
    EXPECT_FALSE(a.isAnalog());
    mapper.axisMoved(axisEvent(0, 32767), 0);
    EXPECT_FLOAT_EQ(1.0f, a.getValue()) << "the axis binding stays";
}

TEST_F(ActionMapperTest, AxisSides)
{
    mapper.bind(InputKey(7, 0), &a);
    mapper.bind(InputKey(8, 0), &b);
    struct Case
    {
        int position;
        float positive, negative;
    };
    for (const Case& c : {Case{32767, 1, 0}, Case{-32768, 0, 1}, Case{0, 0, 0}, Case{-16384, 0, 0.5f}})
    {
        mapper.axisMoved(axisEvent(0, c.position), 0);
        EXPECT_FLOAT_EQ(c.positive, a.getValue()) << c.position;
        EXPECT_FLOAT_EQ(c.negative, b.getValue()) << c.position;
        EXPECT_FALSE(a.isPressed());
    }
    mapper.axisMoved(axisEvent(1, 32767), 1);
    EXPECT_FLOAT_EQ(0.0f, a.getValue()) << "another axis";
}

TEST_F(ActionMapperTest, PovDirections)
{
    Action up, down, left, right;
    mapper.bind(InputKey(3, 0), &up);
    mapper.bind(InputKey(4, 0), &down);
    mapper.bind(InputKey(5, 0), &left);
    mapper.bind(InputKey(6, 0), &right);
    mapper.povMoved(povEvent(0, OIS::Pov::NorthEast), 0);
    EXPECT_TRUE(up.isPressed() && right.isPressed());
    EXPECT_FALSE(down.isPressed() || left.isPressed());
    mapper.povMoved(povEvent(0, OIS::Pov::West), 0);
    EXPECT_TRUE(left.isPressed());
    EXPECT_FALSE(up.isPressed() || right.isPressed() || down.isPressed());
    mapper.povMoved(povEvent(0, OIS::Pov::South), 0);
    EXPECT_TRUE(down.isPressed());
    EXPECT_FALSE(left.isPressed());
    mapper.povMoved(povEvent(0, OIS::Pov::Centered), 0);
    EXPECT_FALSE(up.isPressed() || down.isPressed() || left.isPressed() || right.isPressed());
}

TEST_F(ActionMapperTest, ButtonsPressAndRelease)
{
    mapper.bind(InputKey(2, 5), &a);
    mapper.buttonPressed(OIS::JoyStickEvent(nullptr, OIS::JoyStickState()), 5);
    EXPECT_TRUE(a.isPressed());
    mapper.buttonReleased(OIS::JoyStickEvent(nullptr, OIS::JoyStickState()), 5);
    EXPECT_FALSE(a.isPressed());
}

TEST_F(ActionMapperTest, DriveActionsBindFromTheSettingsAndUnbindWhole)
{
    GameConfiguration config;
    config.setHandbrakeKey(InputKey(2, 1));
    DriveActions drive;
    drive.bindAll(&mapper, &config);
    mapper.keyPressed(keyEvent(200));
    mapper.keyPressed(keyEvent(20));
    mapper.buttonPressed(OIS::JoyStickEvent(nullptr, OIS::JoyStickState()), 1);
    EXPECT_TRUE(drive.accelerate.isPressed());
    EXPECT_TRUE(drive.resetCar.isPressed());
    EXPECT_TRUE(drive.handbrake.isPressed());
    EXPECT_FALSE(drive.brake.isPressed());

    mapper.keyPressed(keyEvent(19));  // reset-game is not a driving action
    drive.unbindAll(&mapper);
    DriveActions fresh;
    mapper.keyPressed(keyEvent(208));
    EXPECT_FALSE(drive.brake.isPressed()) << "no key presses an unbound action";
}

TEST(InputKeyTest, OrderAndTexts)
{
    EXPECT_TRUE(InputKey(2, 5) < InputKey(3, 0));
    EXPECT_TRUE(InputKey(1, 300) < InputKey(2, 0));
    EXPECT_TRUE(InputKey(-1, 0) < InputKey(0, -100));
    EXPECT_FALSE(InputKey(1, 1) < InputKey(1, 1));

    struct Case
    {
        InputKey key;
        const char* text;
    };
    const Case cases[] = {
        {InputKey(3, 0), "Joystick: POV 0 Up"},     {InputKey(4, 1), "Joystick: POV 1 Down"},
        {InputKey(5, 2), "Joystick: POV 2 Left"},   {InputKey(6, 3), "Joystick: POV 3 Right"},
        {InputKey(8, 2), "Joystick: Axis 2 Neg"},   {InputKey(7, -1), "Joystick: Axis -1 Pos"},
        {InputKey(2, 7), "Joystick: Button 7"},     {InputKey(0, 5), "Undefined"},
        {InputKey(9, 1), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.key.toString(nullptr));
}
