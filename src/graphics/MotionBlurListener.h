// Feeds the "Motion Blur" compositor its strength from the car's speed: none up to the
// minimum speed, growing to the maximum blur at the maximum speed.
#pragma once

#include <OGRE/OgreCompositorInstance.h>

#include <functional>

class MotionBlurListener : public Ogre::CompositorInstance::Listener
{
public:
    static constexpr Ogre::uint32 kBlurPass = 1;

    // speedKmh gives the car's speed (the race passes its car's wheel speed).
    MotionBlurListener(std::function<float()> speedKmh, float maxBlur, float minSpeedKmh, float maxSpeedKmh);

    void notifyMaterialRender(Ogre::uint32 passId, Ogre::MaterialPtr& material) override;

    // The blur for a speed; equal minimum and maximum speeds switch it fully on above them.
    static float blurForSpeed(float speedKmh, float maxBlur, float minSpeedKmh, float maxSpeedKmh);

private:
    std::function<float()> speedSource;
    float maxBlur;
    float minSpeedKmh;
    float maxSpeedKmh;
};
