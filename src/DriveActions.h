// The seven driving actions of the player, bound from the settings.
#pragma once

#include "Action.h"

class ActionMapper;
class GameConfiguration;

class DriveActions
{
public:
    // Binds each action to its key from the settings (the reset-game key is not one of them).
    void bindAll(ActionMapper* mapper, const GameConfiguration* config);
    void unbindAll(ActionMapper* mapper);

    Action accelerate;
    Action brake;
    Action right;
    Action left;
    Action handbrake;
    Action changeCamera;
    Action resetCar;
};
