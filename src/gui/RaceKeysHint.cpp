// The race's keys as a sentence.
#include "gui/RaceKeysHint.h"

#include "GameConfiguration.h"
#include "InputKey.h"

#include <cctype>

namespace
{
// "Key: space" reads "Space"; joystick bindings keep their own text.
std::string keyName(const InputKey& key, OIS::Keyboard* keyboard)
{
    std::string name = key.toString(keyboard);
    const std::string prefix = "Key: ";
    if (name.compare(0, prefix.size(), prefix) == 0)
        name.erase(0, prefix.size());
    if (!name.empty())
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}
}

namespace RaceKeysHint
{
std::string text(const GameConfiguration& config, OIS::Keyboard* keyboard)
{
    const auto name = [keyboard](const InputKey& key) { return keyName(key, keyboard); };
    return "In the race: " + name(config.getAccelerateKey()) + " accelerates, " + name(config.getBrakeKey()) +
           " brakes, " + name(config.getLeftKey()) + " and " + name(config.getRightKey()) + " steer, " +
           name(config.getHandbrakeKey()) + " is the handbrake, " + name(config.getChangeCameraKey()) +
           " changes the camera, " + name(config.getResetCarKey()) + " puts the car back on the road, " +
           name(config.getResetGameKey()) +
           " restarts. Escape pauses; A hands the car to a computer driver and on to the next.";
}
}
