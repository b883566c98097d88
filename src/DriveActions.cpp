// The player's driving actions.
#include "DriveActions.h"

#include "ActionMapper.h"
#include "GameConfiguration.h"

void DriveActions::bindAll(ActionMapper* mapper, const GameConfiguration* config)
{
    mapper->bind(config->getAccelerateKey(), &accelerate);
    mapper->bind(config->getBrakeKey(), &brake);
    mapper->bind(config->getLeftKey(), &left);
    mapper->bind(config->getRightKey(), &right);
    mapper->bind(config->getHandbrakeKey(), &handbrake);
    mapper->bind(config->getChangeCameraKey(), &changeCamera);
    mapper->bind(config->getResetCarKey(), &resetCar);
}

void DriveActions::unbindAll(ActionMapper* mapper)
{
    for (Action* action : all())
        mapper->unbind(action);
}

void DriveActions::dropPresses()
{
    for (Action* action : all())
        action->dropPress();
}

std::array<Action*, 7> DriveActions::all()
{
    return {&accelerate, &brake, &right, &left, &handbrake, &changeCamera, &resetCar};
}
