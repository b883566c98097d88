// Feeds the "Motion Blur" compositor its strength from the car's speed: none up to the
// minimum speed, growing to the maximum blur at the maximum speed.
#pragma once

#include <OGRE/OgreCompositorInstance.h>

class Car;

class MotionBlurListener : public Ogre::CompositorInstance::Listener
{
public:
    static constexpr Ogre::uint32 kBlurPass = 1;

    // The car is borrowed and must outlive the listener.
    MotionBlurListener(const Car* speedSource, float maxBlur, float minSpeedKmh, float maxSpeedKmh);

    void notifyMaterialRender(Ogre::uint32 passId, Ogre::MaterialPtr& material) override;

    // The blur for a speed; equal minimum and maximum speeds switch it fully on above them.
    static float blurForSpeed(float speedKmh, float maxBlur, float minSpeedKmh, float maxSpeedKmh);

private:
    const Car* speedSource;
    float maxBlur;
    float minSpeedKmh;
    float maxSpeedKmh;
};
