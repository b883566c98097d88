// Sky colours indexed by the sun's elevation instead of the time: 0 with the sun at the
// zenith, 0.5 on the horizon, 1 at the nadir. The race's sky uses it.
#pragma once

#include "sky/StoredImageSkyColourModel.h"

namespace sky
{
class StoredImageElvBasedSkyColourModel : public StoredImageSkyColourModel
{
public:
    // The picture's columns end at the nadir: the gradient is clamped, not wrapped.
    void setSkyGradientsImage(const std::string& file) override;

    Ogre::ColourValue getFogColour(float time, const Ogre::Vector3& sunDirection) override;
    float getFogDensity(float time, const Ogre::Vector3& sunDirection) override;
    Ogre::ColourValue getSunColour(float time, const Ogre::Vector3& sunDirection) override;
    bool updateMaterial(const Ogre::GpuProgramParametersSharedPtr& fragmentParams,
                        const Ogre::GpuProgramParametersSharedPtr& vertexParams, float time,
                        const Ogre::Vector3& sunDirection) override;

    static float elevation(const Ogre::Vector3& sunDirection);
};
}
