// What colour the sky has at a moment: fog colour and density, the sun's colour, and how
// the dome's gradient texture and program are set, from the time of day and the sun.
#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreGpuProgramParams.h>
#include <OGRE/OgreVector.h>

namespace Ogre
{
class TextureUnitState;
}

namespace sky
{
class SkyColourModel
{
public:
    virtual ~SkyColourModel() = default;

    // time: the relative day time in [0, 1); sunDirection: where the sunlight travels.
    virtual Ogre::ColourValue getFogColour(float time, const Ogre::Vector3& sunDirection) = 0;
    virtual float getFogDensity(float time, const Ogre::Vector3& sunDirection) = 0;
    virtual Ogre::ColourValue getSunColour(float time, const Ogre::Vector3& sunDirection) = 0;
    virtual bool updateMaterial(const Ogre::GpuProgramParametersSharedPtr& fragmentParams,
                                const Ogre::GpuProgramParametersSharedPtr& vertexParams, float time,
                                const Ogre::Vector3& sunDirection) = 0;

    // The dome material's first texture unit (borrowed), which shows the gradient.
    void setGradientTextureUnit(Ogre::TextureUnitState* unit) { gradientTextureUnit = unit; }

protected:
    Ogre::TextureUnitState* gradientTextureUnit = nullptr;
};
}
