// Grass layers: their settings, their maps and their vertex program variants.
#include "paging/GrassLayer.h"

#include "paging/ColorMap.h"
#include "paging/DensityMap.h"
#include "paging/GeometryPager.h"
#include "paging/GrassLoader.h"
#include "paging/GrassProgram.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreGpuProgramParams.h>
#include <OGRE/OgreHighLevelGpuProgram.h>
#include <OGRE/OgreHighLevelGpuProgramManager.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>

namespace
{
// The fade range is a little inside the pager's range, so blades are gone before their page.
constexpr float kFadeRangeDivisor = 1.225f;
// The sinking blades go a little deeper than the tallest blade is high.
constexpr float kGrowDepthFactor = 1.05f;
}

GrassLayer::GrassLayer(GrassLoader* owner) : parent(owner), geom(owner->getGeometry()) {}

GrassLayer::~GrassLayer()
{
    if (densityMap)
        densityMap->unload();
    if (colorMap)
        colorMap->unload();
}

void GrassLayer::setMaterialName(const std::string& name)
{
    if (baseMaterial && baseMaterial->getName() == name)
        return;
    Ogre::MaterialPtr found = Ogre::MaterialManager::getSingleton().getByName(name);
    if (!found)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                    "Grass material \"" + name + "\" does not exist", "GrassLayer::setMaterialName()");
    baseMaterial = found;
    material = found;
    shaderNeedsUpdate = true;
}

void GrassLayer::setMinimumSize(float width, float height)
{
    minWidth = width;
    minHeight = height;
}

void GrassLayer::setMaximumSize(float width, float height)
{
    maxWidth = width;
    if (maxHeight != height)
    {
        maxHeight = height;
        shaderNeedsUpdate = true;
    }
}

void GrassLayer::setRenderTechnique(GrassTechnique technique, bool blendBase)
{
    if (renderTechnique != technique || blend != blendBase)
    {
        renderTechnique = technique;
        blend = blendBase;
        shaderNeedsUpdate = true;
    }
}

void GrassLayer::setFadeTechnique(FadeTechnique technique)
{
    if (fadeTechnique != technique)
    {
        fadeTechnique = technique;
        shaderNeedsUpdate = true;
    }
}

void GrassLayer::setAnimationEnabled(bool enabled)
{
    if (animate != enabled)
    {
        animate = enabled;
        shaderNeedsUpdate = true;
    }
}

void GrassLayer::setHeightRange(float low, float high)
{
    minY = low;
    maxY = high;
}

void GrassLayer::setDensityMap(const std::string& textureName, MapChannel channel)
{
    if (densityMap)
        densityMap->unload();
    densityMap = nullptr;
    if (textureName.empty())
        return;
    densityMap = DensityMap::load(textureName, channel);
    densityMap->setMapBounds(mapBounds);
    densityMap->setFilter(densityMapFilter);
}

void GrassLayer::setDensityMap(const Ogre::TexturePtr& texture, MapChannel channel)
{
    if (densityMap)
        densityMap->unload();
    densityMap = nullptr;
    if (!texture)
        return;
    densityMap = DensityMap::load(texture, channel);
    densityMap->setMapBounds(mapBounds);
    densityMap->setFilter(densityMapFilter);
}

void GrassLayer::setColorMap(const std::string& textureName, MapChannel channel)
{
    if (colorMap)
        colorMap->unload();
    colorMap = nullptr;
    if (textureName.empty())
        return;
    colorMap = ColorMap::load(textureName, channel);
    colorMap->setMapBounds(mapBounds);
    colorMap->setFilter(colorMapFilter);
}

void GrassLayer::setColorMap(const Ogre::TexturePtr& texture, MapChannel channel)
{
    if (colorMap)
        colorMap->unload();
    colorMap = nullptr;
    if (!texture)
        return;
    colorMap = ColorMap::load(texture, channel);
    colorMap->setMapBounds(mapBounds);
    colorMap->setFilter(colorMapFilter);
}

void GrassLayer::setDensityMapFilter(MapFilter filter)
{
    densityMapFilter = filter;
    if (densityMap)
        densityMap->setFilter(filter);
}

void GrassLayer::setColorMapFilter(MapFilter filter)
{
    colorMapFilter = filter;
    if (colorMap)
        colorMap->setFilter(filter);
}

void GrassLayer::setMapBounds(const TBounds& bounds)
{
    mapBounds = bounds;
    if (densityMap)
        densityMap->setMapBounds(bounds);
    if (colorMap)
        colorMap->setMapBounds(bounds);
}

float GrassLayer::advanceWavePhase(float phase, float swaySpeed, float seconds)
{
    phase += swaySpeed * Ogre::Math::PI * seconds;
    if (phase > Ogre::Math::TWO_PI)
        phase -= Ogre::Math::TWO_PI;
    return phase;
}

void GrassLayer::_updateShaders(bool vertexProgramsSupported)
{
    if (!shaderNeedsUpdate)
        return;
    if (vertexProgramsSupported && geom->getDetailLevels().empty())
        return;  // the fade range comes from the first detail level: try again next frame
    shaderNeedsUpdate = false;
    if (vertexProgramsSupported)
        buildProgramVariant();
}

void GrassLayer::buildProgramVariant()
{
    GrassProgramOptions options;
    options.animate = animate;
    options.blend = blend;
    options.renderTechnique = renderTechnique;
    options.fadeTechnique = fadeTechnique;
    options.maximumHeight = maxHeight;
    const std::string programName = GrassProgram::name(options);

    // Variants come from the material the layer was given, never from an earlier variant.
    const std::string variantName = baseMaterial->getName() + "_" + programName;
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr variant = materials.getByName(variantName, baseMaterial->getGroup());
    if (!variant)
    {
        if (baseMaterial->getNumTechniques() == 0 ||
            baseMaterial->getTechnique(0)->getNumPasses() == 0)
        {
            Ogre::LogManager::getSingleton().logWarning(
                "Grass material \"" + baseMaterial->getName() +
                "\" has no pass to put the grass program on; the grass neither fades nor sways");
            material = baseMaterial;
            return;
        }
        variant = baseMaterial->clone(variantName);
        variant->setLightingEnabled(false);

        Ogre::HighLevelGpuProgramManager& programs = Ogre::HighLevelGpuProgramManager::getSingleton();
        if (!programs.resourceExists(programName, Ogre::RGN_DEFAULT))
        {
            Ogre::HighLevelGpuProgramPtr program = programs.createProgram(
                programName, Ogre::RGN_DEFAULT, "glsl", Ogre::GPT_VERTEX_PROGRAM);
            program->setSource(GrassProgram::vertexSource(options));
            program->load();
        }

        Ogre::Pass* pass = variant->getTechnique(0)->getPass(0);
        pass->setVertexProgram(programName);
        Ogre::GpuProgramParametersSharedPtr params = pass->getVertexProgramParameters();
        params->setNamedAutoConstant("worldViewProj",
                                     Ogre::GpuProgramParameters::ACT_WORLDVIEWPROJ_MATRIX);
        params->setNamedAutoConstant("camPos",
                                     Ogre::GpuProgramParameters::ACT_CAMERA_POSITION_OBJECT_SPACE);
        if (animate)
        {
            params->setNamedConstant("time", 0.0f);
            params->setNamedConstant("frequency", animFreq);
            params->setNamedConstant("direction", Ogre::Vector4::ZERO);
        }
        if (GrassProgram::grows(fadeTechnique))
            params->setNamedConstant("grassHeight", maxHeight * kGrowDepthFactor);
        params->setNamedConstant("fadeRange",
                                 geom->getDetailLevels().front()->getFarRange() / kFadeRangeDivisor);
    }
    material = variant;
}
