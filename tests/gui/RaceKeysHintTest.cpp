// The level menu's line on the race's keys follows the player's bindings.
#include "GameConfiguration.h"
#include "gui/RaceKeysHint.h"

#include <gtest/gtest.h>

TEST(RaceKeysHint, NamesEveryDrivingActionByItsBinding)
{
    GameConfiguration config;
    config.setAccelerateKey(InputKey(InputKey::JoystickButton, 3));
    config.setLeftKey(InputKey(InputKey::AxisNegative, 0));
    config.setRightKey(InputKey(InputKey::AxisPositive, 0));
    const std::string text = RaceKeysHint::text(config, nullptr);
    for (const std::string expected :
         {"Joystick: Button 3 accelerates", "208 brakes", "Joystick: Axis 0 Neg and Joystick: Axis 0 Pos steer",
          "57 is the handbrake", "46 changes the camera", "20 puts the car back on the road", "19 restarts",
          "Escape pauses", "A hands the car to a computer driver"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in: " << text;
    EXPECT_EQ(text.find("Key: "), std::string::npos) << "keyboard keys go by their names alone: " << text;
}
