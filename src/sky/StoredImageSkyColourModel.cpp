// Sky colours from gradient pictures, indexed by the time of day.
#include "sky/StoredImageSkyColourModel.h"

#include "sky/SkyResourceGroup.h"

#include <OGRE/OgreTextureUnitState.h>

#include <algorithm>
#include <cmath>

namespace sky
{
namespace
{
std::unique_ptr<Ogre::Image> loadImage(const std::string& file)
{
    auto image = std::make_unique<Ogre::Image>();
    image->load(file, getSkyResourceGroupName());
    return image;
}
}

void StoredImageSkyColourModel::setSkyGradientsImage(const std::string& file)
{
    std::unique_ptr<Ogre::Image> loaded = loadImage(file);
    const bool singleChannel = Ogre::PixelUtil::getComponentCount(loaded->getFormat()) == 1;
    skyGradients = std::move(loaded);
    if (gradientTextureUnit)
    {
        if (singleChannel)
            gradientTextureUnit->setDesiredFormat(Ogre::PF_A8);
        gradientTextureUnit->setTextureName(file, Ogre::TEX_TYPE_2D);
    }
    setFogColoursImage(file);
}

void StoredImageSkyColourModel::setFogColoursImage(const std::string& file)
{
    fogColours = loadImage(file);
}

void StoredImageSkyColourModel::setImages(std::unique_ptr<Ogre::Image> sky, std::unique_ptr<Ogre::Image> fog)
{
    skyGradients = std::move(sky);
    fogColours = std::move(fog);
}

Ogre::ColourValue StoredImageSkyColourModel::sampleImage(float x, float y, const Ogre::Image& image, bool wrap)
{
    const int lastColumn = static_cast<int>(image.getWidth()) - 1;
    const int height = static_cast<int>(image.getHeight());
    if (lastColumn < 0 || height <= 0)
        return Ogre::ColourValue::White;

    int row = static_cast<int>((height - 1) * std::fabs(y));
    row = std::min(row, height - 1);

    const float position = lastColumn * x;
    int first = static_cast<int>(position);
    const float fraction = position - first;
    int second = fraction < 0.0f ? first - 1 : first + 1;
    // One column wide: both samples are that column (there is nothing to wrap into).
    auto reduce = [&](int column) {
        if (lastColumn == 0)
            return 0;
        if (wrap)
            return ((column % lastColumn) + lastColumn) % lastColumn;
        return std::clamp(column, 0, lastColumn);
    };
    first = reduce(first);
    second = reduce(second);

    const Ogre::ColourValue a = image.getColourAt(first, row, 0);
    const Ogre::ColourValue b = image.getColourAt(second, row, 0);
    return a * (1.0f - fraction) + b * fraction;
}

Ogre::ColourValue StoredImageSkyColourModel::getFogColour(float time, const Ogre::Vector3&)
{
    return fogColours ? sampleImage(time, 1.0f, *fogColours, true) : Ogre::ColourValue::White;
}

float StoredImageSkyColourModel::getFogDensity(float time, const Ogre::Vector3&)
{
    return fogColours ? fogDensity * sampleImage(time, 1.0f, *fogColours, true).a : fogDensity;
}

Ogre::ColourValue StoredImageSkyColourModel::getSunColour(float time, const Ogre::Vector3& sunDirection)
{
    return skyGradients ? sampleImage(time, std::fabs(sunDirection.y), *skyGradients, true)
                        : Ogre::ColourValue::White;
}

void StoredImageSkyColourModel::showGradientColumn(const Ogre::GpuProgramParametersSharedPtr& fragmentParams, float u)
{
    if (gradientTextureUnit)
        gradientTextureUnit->setTextureUScroll(u);
    if (fragmentParams && fragmentParams->_findNamedConstantDefinition("offset"))
        fragmentParams->setNamedConstant("offset", u);
}

bool StoredImageSkyColourModel::updateMaterial(const Ogre::GpuProgramParametersSharedPtr& fragmentParams,
                                               const Ogre::GpuProgramParametersSharedPtr&, float time,
                                               const Ogre::Vector3&)
{
    showGradientColumn(fragmentParams, time);
    return true;
}
}
