// Told by PhysicBase after every fixed physics step and once per rendered frame.
#pragma once

class PhysicListener
{
public:
    virtual ~PhysicListener() = default;
    // Once per fixed step, after the world has stepped; dt is the step (0.01 s).
    virtual void onPhysicStep(float dt) = 0;
    // Once per frame after the steps: alpha is the fraction of a step left over (0 to 1),
    // alphaTime that fraction in seconds, frameDt the frame time added to the accumulator.
    virtual void onPhysicFrame(float /*alpha*/, float /*alphaTime*/, float /*frameDt*/) {}
    virtual void onPause() {}
    virtual void onResume() {}
};
