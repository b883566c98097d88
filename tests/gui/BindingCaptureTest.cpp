// Capturing the bindings: what completes an armed binding, what keeps it waiting, and the
// same input taken from every other binding.
#include "gui/BindingCapture.h"

#include <OIS/OISJoyStick.h>
#include <OIS/OISKeyboard.h>

#include <gtest/gtest.h>

namespace
{
// The default bindings: the arrows, Space, C, T, R.
BindingCapture defaults()
{
    BindingCapture capture;
    const int codes[kBindingCount] = {203, 205, 200, 208, 57, 46, 20, 19};
    for (int slot = 0; slot < kBindingCount; ++slot)
        capture.setKey(slot, InputKey(InputKey::KeyboardKey, codes[slot]));
    return capture;
}
}

TEST(BindingCapture, AKeyTakenByAnotherBindingLeavesThatOneUndefined)
{
    BindingCapture capture = defaults();
    capture.arm(kAccelerateBinding);
    const BindingCapture::Completion done = capture.key(208);  // Brake's Down arrow
    EXPECT_EQ(kAccelerateBinding, done.bound);
    EXPECT_EQ(std::vector<int>{kBrakeBinding}, done.cleared);
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 208), capture.getKey(kAccelerateBinding));
    EXPECT_EQ(InputKey(), capture.getKey(kBrakeBinding));
    EXPECT_EQ("Undefined", capture.getKey(kBrakeBinding).toString(nullptr));
    EXPECT_EQ(-1, capture.getArmed());
    // Every other binding is untouched.
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 203), capture.getKey(kLeftBinding));
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 19), capture.getKey(kResetGameBinding));
}

TEST(BindingCapture, AKeyHeldByTwoBindingsIsTakenFromBoth)
{
    // A hand-edited settings file may bind one key twice.
    BindingCapture capture = defaults();
    capture.setKey(kLeftBinding, InputKey(InputKey::KeyboardKey, 17));
    capture.setKey(kResetCarBinding, InputKey(InputKey::KeyboardKey, 17));
    capture.arm(kAccelerateBinding);
    const BindingCapture::Completion done = capture.key(17);
    EXPECT_EQ((std::vector<int>{kLeftBinding, kResetCarBinding}), done.cleared);
    EXPECT_EQ(InputKey(), capture.getKey(kLeftBinding));
    EXPECT_EQ(InputKey(), capture.getKey(kResetCarBinding));
}

TEST(BindingCapture, NothingBindsUnlessArmedAndEscapeNeverBinds)
{
    BindingCapture capture = defaults();
    EXPECT_EQ(-1, capture.key(17).bound);
    EXPECT_EQ(-1, capture.joystickButton(1).bound);
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 200), capture.getKey(kAccelerateBinding));

    capture.arm(kBrakeBinding);
    EXPECT_EQ(-1, capture.key(OIS::KC_ESCAPE).bound);
    EXPECT_EQ(kBrakeBinding, capture.getArmed()) << "still waiting";
    // Arming another moves the wait; cancelling ends it with nothing stored.
    capture.arm(kHandbrakeBinding);
    EXPECT_EQ(kHandbrakeBinding, capture.key(OIS::KC_B).bound);
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 208), capture.getKey(kBrakeBinding));
    capture.arm(kResetCarBinding);
    capture.cancel();
    EXPECT_EQ(-1, capture.key(OIS::KC_Z).bound);
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 20), capture.getKey(kResetCarBinding));
    capture.arm(kBindingCount);
    EXPECT_EQ(-1, capture.getArmed());
}

TEST(BindingCapture, OnlyThePureFourPovDirectionsBind)
{
    struct Case
    {
        const char* what;
        int direction;
        int type;  // Undefined: the capture keeps waiting
    };
    const Case cases[] = {
        {"up", OIS::Pov::North, InputKey::PovUp},
        {"down", OIS::Pov::South, InputKey::PovDown},
        {"left", OIS::Pov::West, InputKey::PovLeft},
        {"right", OIS::Pov::East, InputKey::PovRight},
        {"centred", OIS::Pov::Centered, InputKey::Undefined},
        {"up and right", OIS::Pov::NorthEast, InputKey::Undefined},
        {"up and left", OIS::Pov::NorthWest, InputKey::Undefined},
        {"down and right", OIS::Pov::SouthEast, InputKey::Undefined},
        {"down and left", OIS::Pov::SouthWest, InputKey::Undefined},
    };
    for (const Case& c : cases)
    {
        BindingCapture capture = defaults();
        capture.arm(kRightBinding);
        const BindingCapture::Completion done = capture.pov(2, c.direction);
        if (c.type == InputKey::Undefined)
        {
            EXPECT_EQ(-1, done.bound) << c.what;
            EXPECT_EQ(kRightBinding, capture.getArmed()) << c.what;
            EXPECT_EQ(InputKey(InputKey::KeyboardKey, 205), capture.getKey(kRightBinding)) << c.what;
        }
        else
        {
            EXPECT_EQ(kRightBinding, done.bound) << c.what;
            EXPECT_EQ(InputKey(c.type, 2), capture.getKey(kRightBinding)) << c.what;
        }
    }
}

TEST(BindingCapture, AnAxisBindsOnlyBeyondThreeTenthsOfFullDeflection)
{
    struct Case
    {
        int position;
        int type;  // Undefined: the capture keeps waiting
    };
    const Case cases[] = {
        {0, InputKey::Undefined},
        {9830, InputKey::Undefined},   // 0.3 of 32767
        {-9830, InputKey::Undefined},
        {9831, InputKey::AxisPositive},
        {10158, InputKey::AxisPositive},  // 0.31
        {-10158, InputKey::AxisNegative},
        {32767, InputKey::AxisPositive},
        {-32768, InputKey::AxisNegative},
    };
    for (const Case& c : cases)
    {
        BindingCapture capture = defaults();
        capture.arm(kLeftBinding);
        const BindingCapture::Completion done = capture.axis(3, c.position);
        if (c.type == InputKey::Undefined)
        {
            EXPECT_EQ(-1, done.bound) << c.position;
            EXPECT_EQ(kLeftBinding, capture.getArmed()) << c.position;
        }
        else
        {
            EXPECT_EQ(InputKey(c.type, 3), capture.getKey(kLeftBinding)) << c.position;
            EXPECT_EQ(-1, capture.getArmed()) << c.position;
        }
    }
}

TEST(BindingCapture, AJoystickInputTakenByAnotherBindingIsClearedThere)
{
    BindingCapture capture = defaults();
    capture.setKey(kHandbrakeBinding, InputKey(InputKey::JoystickButton, 4));
    capture.setKey(kLeftBinding, InputKey(InputKey::AxisNegative, 0));
    capture.arm(kBrakeBinding);
    EXPECT_EQ(std::vector<int>{kHandbrakeBinding}, capture.joystickButton(4).cleared);
    capture.arm(kRightBinding);
    EXPECT_EQ(std::vector<int>{kLeftBinding}, capture.axis(0, -20000).cleared);
    // The other direction of the same axis is another input.
    capture.arm(kAccelerateBinding);
    EXPECT_TRUE(capture.axis(0, 20000).cleared.empty());
    EXPECT_EQ(InputKey(InputKey::AxisNegative, 0), capture.getKey(kRightBinding));
}
