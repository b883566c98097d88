// Sky colours from gradient pictures, indexed by the sun's elevation.
#include "sky/StoredImageElvBasedSkyColourModel.h"

#include <OGRE/OgreTextureUnitState.h>

namespace sky
{
float StoredImageElvBasedSkyColourModel::elevation(const Ogre::Vector3& sunDirection)
{
    return 0.5f * sunDirection.dotProduct(Ogre::Vector3::UNIT_Y) + 0.5f;
}

void StoredImageElvBasedSkyColourModel::setSkyGradientsImage(const std::string& file)
{
    StoredImageSkyColourModel::setSkyGradientsImage(file);
    if (gradientTextureUnit)
        gradientTextureUnit->setTextureAddressingMode(Ogre::TAM_CLAMP);
}

Ogre::ColourValue StoredImageElvBasedSkyColourModel::getFogColour(float, const Ogre::Vector3& sunDirection)
{
    return fogColours ? sampleImage(elevation(sunDirection), 1.0f, *fogColours, false) : Ogre::ColourValue::White;
}

float StoredImageElvBasedSkyColourModel::getFogDensity(float, const Ogre::Vector3& sunDirection)
{
    return fogColours ? fogDensity * sampleImage(elevation(sunDirection), 1.0f, *fogColours, false).a : fogDensity;
}

Ogre::ColourValue StoredImageElvBasedSkyColourModel::getSunColour(float, const Ogre::Vector3& sunDirection)
{
    const float e = elevation(sunDirection);
    return skyGradients ? sampleImage(e, e, *skyGradients, false) : Ogre::ColourValue::White;
}

bool StoredImageElvBasedSkyColourModel::updateMaterial(const Ogre::GpuProgramParametersSharedPtr& fragmentParams,
                                                       const Ogre::GpuProgramParametersSharedPtr&, float,
                                                       const Ogre::Vector3& sunDirection)
{
    showGradientColumn(fragmentParams, elevation(sunDirection));
    return true;
}
}
