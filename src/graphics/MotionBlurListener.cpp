// The motion blur's strength by speed.
#include "graphics/MotionBlurListener.h"

#include "physic/Car.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>

#include <algorithm>

MotionBlurListener::MotionBlurListener(const Car* source, float blur, float minSpeed, float maxSpeed)
    : speedSource(source), maxBlur(blur), minSpeedKmh(minSpeed), maxSpeedKmh(maxSpeed)
{
}

float MotionBlurListener::blurForSpeed(float speedKmh, float maxBlur, float minSpeedKmh, float maxSpeedKmh)
{
    const float speed = std::max(speedKmh, minSpeedKmh);
    const float range = maxSpeedKmh - minSpeedKmh;
    if (!(range > 0.0f))
        return speed > minSpeedKmh ? maxBlur : 0.0f;
    return std::min((speed - minSpeedKmh) / range * maxBlur, maxBlur);
}

void MotionBlurListener::notifyMaterialRender(Ogre::uint32 passId, Ogre::MaterialPtr& material)
{
    if (passId != kBlurPass || !material || !speedSource)
        return;
    Ogre::Technique* technique = material->getTechnique(0);
    if (!technique || technique->getNumPasses() == 0 || !technique->getPass(0)->hasFragmentProgram())
        return;
    Ogre::GpuProgramParametersSharedPtr params = technique->getPass(0)->getFragmentProgramParameters();
    if (params->_findNamedConstantDefinition("blur"))
        params->setNamedConstant("blur", blurForSpeed(speedSource->getWheelSpeed(), maxBlur, minSpeedKmh, maxSpeedKmh));
}
