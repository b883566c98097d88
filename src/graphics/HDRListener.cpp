// The HDR compositor's listener: bloom kernel and eye adaptation.
#include "graphics/HDRListener.h"

#include <OGRE/OgreCompositionTechnique.h>
#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTexture.h>

#include <vector>

namespace
{
const char* const kBloomTarget = "rt_bloom0";
const char* const kLuminanceTarget = "rt_lum0";

// Writes the taps in the element size the program declared (vec2 or vec4 arrays).
void setArray(const Ogre::GpuProgramParametersSharedPtr& params, const char* name,
              const std::array<Ogre::Vector4, BloomKernel::kTaps>& values)
{
    const Ogre::GpuConstantDefinition* definition = params ? params->_findNamedConstantDefinition(name) : nullptr;
    if (!definition || definition->elementSize == 0 || definition->elementSize > 4)
        return;
    const std::size_t size = definition->elementSize;
    std::vector<float> packed;
    for (const Ogre::Vector4& value : values)
        packed.insert(packed.end(), value.ptr(), value.ptr() + size);
    params->setNamedConstant(name, packed.data(), BloomKernel::kTaps, size);
}

void setKernel(Ogre::Technique* technique, const std::array<Ogre::Vector4, BloomKernel::kTaps>& offsets,
               const std::array<Ogre::Vector4, BloomKernel::kTaps>& weights)
{
    if (!technique || technique->getNumPasses() == 0 || !technique->getPass(0)->hasFragmentProgram())
        return;
    Ogre::GpuProgramParametersSharedPtr params = technique->getPass(0)->getFragmentProgramParameters();
    setArray(params, "sampleOffsets", offsets);
    setArray(params, "sampleWeights", weights);
}
}

HDRListener::HDRListener(Ogre::CompositorInstance* instance, int fadingFrames)
    : compositor(instance), history(fadingFrames)
{
}

void HDRListener::notifyViewportSize(int width, int height)
{
    viewportWidth = width;
    viewportHeight = height;
}

void HDRListener::notifyCompositor(Ogre::CompositorInstance* instance)
{
    compositor = instance;
    if (!instance || !instance->getTechnique())
        return;
    for (const Ogre::CompositionTechnique::TextureDefinition* definition :
         instance->getTechnique()->getTextureDefinitions())
        if (definition->name == kBloomTarget)
        {
            kernel = BloomKernel::forSize(static_cast<int>(definition->width));
            kernelBuilt = true;
        }
}

void HDRListener::notifyMaterialSetup(Ogre::uint32 passId, Ogre::MaterialPtr& material)
{
    if (!kernelBuilt || !material || (passId != kVerticalBloomPass && passId != kHorizontalBloomPass))
        return;
    material->load();
    if (passId == kVerticalBloomPass)
        setKernel(material->getTechnique(0), kernel.verticalOffsets, kernel.weights);
    else
        setKernel(material->getBestTechnique(), kernel.horizontalOffsets, kernel.weights);
}

float HDRListener::readLuminance() const
{
    if (!compositor)
        return LuminanceHistory::kFixedLuminance;
    const Ogre::TexturePtr& target = compositor->getTextureInstance(kLuminanceTarget, 0);
    if (!target)
        return LuminanceHistory::kFixedLuminance;
    float rgb[3] = {0, 0, 0};
    Ogre::PixelBox pixel(1, 1, 1, Ogre::PF_FLOAT32_RGB, rgb);
    target->getBuffer(0, 0)->blitToMemory(Ogre::Box(0, 0, 1, 1), pixel);
    return rgb[0];
}

void HDRListener::notifyMaterialRender(Ogre::uint32 passId, Ogre::MaterialPtr& material)
{
    if (passId != kAdaptPass || !material)
        return;
    const float adapted = history.add(history.isFading() ? readLuminance() : LuminanceHistory::kFixedLuminance);
    Ogre::Technique* technique = material->getTechnique(0);
    if (!technique || technique->getNumPasses() == 0 || !technique->getPass(0)->hasFragmentProgram())
        return;
    Ogre::GpuProgramParametersSharedPtr params = technique->getPass(0)->getFragmentProgramParameters();
    if (params->_findNamedConstantDefinition("inLum"))
        params->setNamedConstant("inLum", adapted);
}
