// Sky colours read from gradient pictures: a row per height above the horizon, a column
// per moment of the day; the picture's alpha scales the fog density.
#pragma once

#include "sky/SkyColourModel.h"

#include <OGRE/OgreImage.h>

#include <memory>
#include <string>

namespace sky
{
class StoredImageSkyColourModel : public SkyColourModel
{
public:
    static constexpr float kDefaultFogDensity = 0.0005f;

    // Loads the picture from the sky's resource group for the sky and the fog, and shows it
    // on the gradient texture unit. A picture that fails to load throws and leaves the
    // earlier pictures in use.
    virtual void setSkyGradientsImage(const std::string& file);
    void setFogColoursImage(const std::string& file);
    // Pictures made in memory, for the sky and for the fog (either may be null).
    void setImages(std::unique_ptr<Ogre::Image> skyGradients, std::unique_ptr<Ogre::Image> fogColours);
    void setFogDensity(float density) { fogDensity = density; }

    Ogre::ColourValue getFogColour(float time, const Ogre::Vector3& sunDirection) override;
    float getFogDensity(float time, const Ogre::Vector3& sunDirection) override;
    Ogre::ColourValue getSunColour(float time, const Ogre::Vector3& sunDirection) override;
    bool updateMaterial(const Ogre::GpuProgramParametersSharedPtr& fragmentParams,
                        const Ogre::GpuProgramParametersSharedPtr& vertexParams, float time,
                        const Ogre::Vector3& sunDirection) override;

    // The picture's colour at x along a row (blended between two columns) in the row at
    // |y| of the height; wrap makes the last column the neighbour of the first.
    static Ogre::ColourValue sampleImage(float x, float y, const Ogre::Image& image, bool wrap);

protected:
    // Sets the "offset" of the dome's program and scrolls its gradient to u.
    void showGradientColumn(const Ogre::GpuProgramParametersSharedPtr& fragmentParams, float u);

    std::unique_ptr<Ogre::Image> skyGradients;
    std::unique_ptr<Ogre::Image> fogColours;
    float fogDensity = kDefaultFogDensity;
};
}
