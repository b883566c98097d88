// The driving input table: keys and axes on each action, the two dead zones, and the
// one-shot actions that a key triggers once (also a tap between two frames) and an axis in
// every frame; while a computer driver has the car only the one-shot actions act, and the
// handbrake is off.
#include "ActionMapper.h"
#include "DriveActions.h"
#include "DrivingControls.h"
#include "DrivingInput.h"
#include "GameConfiguration.h"
#include "InputManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct RecordingControls : DrivingControls
{
    float throttle = -1, brake = -1, steerLeft = -1, steerRight = 1;
    int digitalLeft = -1, digitalRight = -1, handbrake = -1;
    int cameras = 0, carResets = 0, restarts = 0;
    void setThrottle(float v) override { throttle = v; }
    void setBrake(float v) override { brake = v; }
    void setSteerLeft(float v) override { steerLeft = v; }
    void setSteerRight(float v) override { steerRight = v; }
    void setDigitalLeft(bool on) override { digitalLeft = on; }
    void setDigitalRight(bool on) override { digitalRight = on; }
    void setHandbrake(bool on) override { handbrake = on; }
    void nextCamera() override { ++cameras; }
    void resetCar() override { ++carResets; }
    void restartRace() override { ++restarts; }
};

void setAxis(Action& action, float value)
{
    action.setAnalog(true);
    action.setValue(value);
}

struct DrivingInputTest : ::testing::Test
{
    DriveActions actions;
    Action restart;
    RecordingControls controls;
    void frame() { DrivingInput::apply(actions, restart, controls); }
};

TEST_F(DrivingInputTest, KeysGiveFullPedalsAndDigitalSteering)
{
    frame();
    EXPECT_EQ(controls.throttle, 0.0f);
    EXPECT_EQ(controls.brake, 0.0f);
    EXPECT_EQ(controls.digitalLeft, 0);
    EXPECT_EQ(controls.digitalRight, 0);
    EXPECT_EQ(controls.handbrake, 0);
    actions.accelerate.press();
    actions.brake.press();
    actions.left.press();
    actions.handbrake.press();
    frame();
    EXPECT_EQ(controls.throttle, 1.0f);
    EXPECT_EQ(controls.brake, 1.0f);
    EXPECT_EQ(controls.digitalLeft, 1);
    EXPECT_EQ(controls.digitalRight, 0);
    EXPECT_EQ(controls.handbrake, 1);
    EXPECT_EQ(controls.steerLeft, -1.0f) << "keys do not touch the analogue steering";
}

TEST_F(DrivingInputTest, AxesPassTheirValueBeyondTheDeadZones)
{
    setAxis(actions.accelerate, 0.4f);
    setAxis(actions.brake, 0.1f);
    setAxis(actions.left, 0.2f);
    setAxis(actions.right, 0.2f);
    setAxis(actions.handbrake, 0.3f);
    frame();
    EXPECT_FLOAT_EQ(controls.throttle, 0.4f);
    EXPECT_FLOAT_EQ(controls.brake, 0.1f) << "pedals have no dead zone";
    EXPECT_EQ(controls.steerLeft, 0.0f) << "0.2 is still inside the steering dead zone";
    EXPECT_EQ(controls.steerRight, 0.0f);
    EXPECT_EQ(controls.handbrake, 0) << "0.3 is still inside the button dead zone";
    EXPECT_EQ(controls.digitalLeft, -1) << "an axis does not touch the digital steering";

    setAxis(actions.left, 0.21f);
    setAxis(actions.right, 0.21f);
    setAxis(actions.handbrake, 0.31f);
    frame();
    EXPECT_FLOAT_EQ(controls.steerLeft, 0.21f);
    EXPECT_FLOAT_EQ(controls.steerRight, -0.21f);
    EXPECT_EQ(controls.handbrake, 1);
}

TEST_F(DrivingInputTest, HeldKeyActsOnceHeldAxisEveryFrame)
{
    actions.changeCamera.press();
    actions.resetCar.press();
    restart.press();
    for (int i = 0; i < 3; ++i)
        frame();
    EXPECT_EQ(controls.cameras, 1);
    EXPECT_EQ(controls.carResets, 1);
    EXPECT_EQ(controls.restarts, 1);
    EXPECT_FALSE(actions.changeCamera.isPressed());

    setAxis(actions.changeCamera, 0.5f);
    setAxis(actions.resetCar, 0.3f);  // inside the dead zone
    setAxis(restart, 0.9f);
    for (int i = 0; i < 3; ++i)
        frame();
    EXPECT_EQ(controls.cameras, 4);
    EXPECT_EQ(controls.carResets, 1);
    EXPECT_EQ(controls.restarts, 4);
}

TEST_F(DrivingInputTest, ComputerDriverKeepsThePedalsAndSteeringWithTheHandbrakeOffOneShotsStillAct)
{
    actions.accelerate.press();
    actions.left.press();
    actions.handbrake.press();
    setAxis(actions.right, 0.8f);
    actions.changeCamera.press();
    actions.resetCar.press();
    restart.press();
    DrivingInput::apply(actions, restart, controls, true);
    EXPECT_EQ(controls.throttle, -1.0f) << "the computer's throttle stays";
    EXPECT_EQ(controls.brake, -1.0f);
    EXPECT_EQ(controls.digitalLeft, -1);
    EXPECT_EQ(controls.steerRight, 1.0f);
    EXPECT_EQ(controls.handbrake, 0) << "a handbrake held as the driver took over is let go";
    EXPECT_EQ(controls.cameras, 1);
    EXPECT_EQ(controls.carResets, 1);
    EXPECT_EQ(controls.restarts, 1);
}

// The keys as the game gets them: the input layer's events between two frames, through the
// default bindings.
TEST_F(DrivingInputTest, AKeyTappedBetweenTwoFramesActsOnce)
{
    InputManager input;  // without devices
    ActionMapper mapper(&input);
    const GameConfiguration config;
    actions.bindAll(&mapper, &config);
    mapper.bind(config.getResetGameKey(), &restart);
    const auto press = [&](OIS::KeyCode key) { mapper.keyPressed(OIS::KeyEvent(nullptr, key, 0)); };
    const auto release = [&](OIS::KeyCode key) { mapper.keyReleased(OIS::KeyEvent(nullptr, key, 0)); };
    struct Case
    {
        const char* what;
        OIS::KeyCode key;
        int RecordingControls::*count;
    };
    const Case cases[] = {{"camera", OIS::KC_C, &RecordingControls::cameras},
                          {"car reset", OIS::KC_T, &RecordingControls::carResets},
                          {"race restart", OIS::KC_R, &RecordingControls::restarts}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        int& count = controls.*c.count;
        press(c.key);
        release(c.key);
        frame();
        EXPECT_EQ(count, 1) << "a tap within one frame";
        frame();
        EXPECT_EQ(count, 1) << "acted on once";

        press(c.key);
        release(c.key);
        press(c.key);
        release(c.key);
        frame();
        EXPECT_EQ(count, 2) << "two taps within one frame act once";

        press(c.key);
        for (int i = 0; i < 20; ++i)  // a 0.2 s hold at 100 frames a second
            frame();
        release(c.key);
        frame();
        EXPECT_EQ(count, 3) << "a hold acts once";

        press(c.key);
        release(c.key);
        actions.dropPresses();
        restart.dropPress();
        frame();
        EXPECT_EQ(count, 3) << "a tap dropped before the frame (typed into a menu) does not act";
    }
    actions.unbindAll(&mapper);
    mapper.unbind(&restart);
}
}
