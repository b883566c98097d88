// The seven driving actions of the player, bound from the settings.
#pragma once

#include "Action.h"

#include <array>

class ActionMapper;
class GameConfiguration;

class DriveActions
{
public:
    // Binds each action to its key from the settings (the reset-game key is not one of them).
    void bindAll(ActionMapper* mapper, const GameConfiguration* config);
    void unbindAll(ActionMapper* mapper);
    // Forgets the presses no frame has taken, e.g. keys typed into a menu over the race.
    void dropPresses();

    Action accelerate;
    Action brake;
    Action right;
    Action left;
    Action handbrake;
    Action changeCamera;
    Action resetCar;

private:
    std::array<Action*, 7> all();
};
