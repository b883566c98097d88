// The physics world on Bullet.
#include "platform/physics/world.h"

#include <LinearMath/btScalar.h>

#include <stdexcept>

namespace nxOgre
{

bool world::startFailure = false;

world::world(int simulationType, int developmentStage, const std::string& logPath)
{
    if (startFailure)
        throw std::runtime_error("Bullet physics could not be started");
    log = std::make_unique<PhysicsLog>(logPath);
    log->write("Bullet physics " + std::to_string(btGetVersion()) + " started (simulation type " +
               std::to_string(simulationType) + ", development stage " + std::to_string(developmentStage) + ")");
}

world::~world()
{
    scenes.clear();
    log->write("Bullet physics stopped");
}

void world::simulateStartFailure(bool fail)
{
    startFailure = fail;
}

scene* world::createScene(const std::string& name)
{
    auto& slot = scenes[name];
    if (!slot)
    {
        slot = std::make_unique<scene>(name, log.get());
        log->write("Scene '" + name + "' created");
    }
    return slot.get();
}

scene* world::getScene(const std::string& name) const
{
    const auto found = scenes.find(name);
    return found == scenes.end() ? nullptr : found->second.get();
}

void world::destroyScene(const std::string& name)
{
    if (scenes.erase(name))
        log->write("Scene '" + name + "' destroyed");
}

bool world::frameStarted(const FrameEvent& event)
{
    if (paused)
        return true;
    for (auto& entry : scenes)
        entry.second->simulate(event.timeSinceLastEvent);
    return true;
}

void world::render(float alpha)
{
    for (auto& entry : scenes)
        entry.second->render(alpha);
}

}
