// The physics world: its log and its scenes. The game advances it one step per call of
// frameStarted and tells it when to render.
#pragma once

#include "platform/physics/PhysicsLog.h"
#include "platform/physics/scene.h"

#include <map>
#include <memory>
#include <string>

namespace nxOgre
{

// The wrapper's frame event: the step to take and the time since the last frame, in seconds.
struct FrameEvent
{
    float timeSinceLastEvent = 0.0f;
    float timeSinceLastFrame = 0.0f;
};

class world
{
public:
    // Throws std::runtime_error when the physics can't start. The simulation type and
    // development stage are kept for the log only. An empty log path keeps the log silent.
    world(int simulationType, int developmentStage, const std::string& logPath);
    ~world();
    world(const world&) = delete;
    world& operator=(const world&) = delete;

    // For tests of the start-up: the next worlds fail to start while this is set.
    static void simulateStartFailure(bool fail);

    scene* createScene(const std::string& name);
    scene* getScene(const std::string& name) const;
    void destroyScene(const std::string& name);

    // Advances every scene by the event's step, unless paused.
    bool frameStarted(const FrameEvent& event);
    // Hands every body its pose blended between the last two steps.
    void render(float alpha);
    void pause() { paused = true; }
    void resume() { paused = false; }
    bool isPaused() const { return paused; }

    PhysicsLog& getLog() { return *log; }

private:
    static bool startFailure;
    std::unique_ptr<PhysicsLog> log;
    std::map<std::string, std::unique_ptr<scene>> scenes;
    bool paused = false;
};

}
