// The sky dome, its material and its light-absorption programs.
#include "sky/SkyDome.h"

#include "sky/SkyColourModel.h"
#include "sky/SkyResourceGroup.h"
#include "sky/SphereMesh.h"
#include "sky/Sun.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreHighLevelGpuProgram.h>
#include <OGRE/OgreHighLevelGpuProgramManager.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>

#include <algorithm>

namespace sky
{
namespace
{
const char* const kMeshName = "SkySphericDome";
const char* const kMaterialName = "SkyDomeMaterial";
const char* const kEntityName = "Dome";
const char* const kVertexProgram = "SkyLightAbsorptionVP";
const char* const kFragmentProgram = "SkyLightAbsorptionFP";
const char* const kProgramSource = "SkyLightAbsorption.glsl";
constexpr unsigned kSegments = 32;
constexpr Ogre::uint8 kRenderQueue = 7;
constexpr float kMinAtmosphereValue = 0.00001f;

void log(const std::string& line)
{
    Ogre::LogManager::getSingleton().logMessage(line);
}

Ogre::GpuProgramParametersSharedPtr programParameters(const Ogre::MaterialPtr& material, bool vertex)
{
    if (!material)
        return {};
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    if (vertex)
        return pass->hasVertexProgram() ? pass->getVertexProgramParameters() : Ogre::GpuProgramParametersSharedPtr();
    return pass->hasFragmentProgram() ? pass->getFragmentProgramParameters() : Ogre::GpuProgramParametersSharedPtr();
}

template <typename Value>
void setConstant(const Ogre::GpuProgramParametersSharedPtr& params, const char* name, const Value& value)
{
    if (params && params->_findNamedConstantDefinition(name))
        params->setNamedConstant(name, value);
}
}

SkyDome::SkyDome(Ogre::SceneManager* manager, ShaderSupport support) : sceneManager(manager), shaders(support)
{
    try
    {
        build();
    }
    catch (...)
    {
        release();  // the destructor does not run for a dome that was never made
        throw;
    }
}

void SkyDome::build()
{
    createSkyDomeMaterial();
    createSphereMesh(kMeshName, kSegments, SphereKind::Pole);
    element = std::make_unique<SceneElement>(sceneManager, kEntityName, kMeshName, kMaterialName, kRenderQueue);
}

SkyDome::~SkyDome()
{
    release();
}

void SkyDome::release()
{
    element.reset();
    destroySkyDomeMaterial();
}

void SkyDome::followCamera(const Ogre::Camera* camera)
{
    followCameraWithSphere(element->getNode(), camera, autoRadius);
}

void SkyDome::setFarDistance(float distance)
{
    fixSphereRadius(element->getNode(), distance, autoRadius);
}

Ogre::TextureUnitState* SkyDome::getGradientTextureUnit() const
{
    if (!material)
        return nullptr;
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    return pass->getNumTextureUnitStates() > 0 ? pass->getTextureUnitState(0) : nullptr;
}

void SkyDome::updateMaterial(SkyColourModel* model, float relativeDayTime, const Sun* sun)
{
    if (!model)
        return;
    const Ogre::Vector3 sunDirection = sun ? sun->getSunDirection() : Ogre::Vector3::UNIT_Y;
    model->updateMaterial(programParameters(material, false), programParameters(material, true), relativeDayTime,
                          sunDirection);
}

void SkyDome::setSunDirection(const Ogre::Vector3& direction)
{
    if (shaders.vertexPrograms)
        setConstant(programParameters(material, true), "sunDirection", direction);
}

void SkyDome::setAtmosphereHeight(float height)
{
    height = std::min(std::max(height, kMinAtmosphereValue), 1.0f);
    if (shaders.fragmentPrograms)
        setConstant(programParameters(material, false), "atmosphereInvHeight", 1.0f / height);
}

void SkyDome::setLightScattering(float scattering)
{
    scattering = std::max(scattering, kMinAtmosphereValue);
    if (shaders.fragmentPrograms)
        setConstant(programParameters(material, false), "lightInvScattering", 1.0f / scattering);
}

void SkyDome::setLightAbsorption(float absorption)
{
    absorption = std::clamp(absorption, 0.0f, 1.0f);
    if (shaders.vertexPrograms)
        setConstant(programParameters(material, true), "lightAbsorption", absorption);
}

void SkyDome::loadProgram(const char* name, int type)
{
    const bool vertex = type == Ogre::GPT_VERTEX_PROGRAM;
    Ogre::HighLevelGpuProgramPtr program = Ogre::HighLevelGpuProgramManager::getSingleton().createProgram(
        name, getSkyResourceGroupName(), "glsl", static_cast<Ogre::GpuProgramType>(type));
    program->setSourceFile(kProgramSource);
    // One source for both programs: the define picks the half.
    program->setParameter("preprocessor_defines", vertex ? "SKY_VERTEX_PROGRAM" : "SKY_FRAGMENT_PROGRAM");
    program->load();
    if (program->hasCompileError() || !program->isSupported())
    {
        destroySkyDomeMaterial();
        OGRE_EXCEPT(Ogre::Exception::ERR_INTERNAL_ERROR, "Unable to load sky shader.", "SkyDome::createSkyDomeMaterial");
    }
}

void SkyDome::createSkyDomeMaterial()
{
    log("Generating sky dome material...");
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    material = materials.getByName(kMaterialName, getSkyResourceGroupName());
    if (!material)
    {
        log("\tMaterial not found; creating...");
        material = materials.create(kMaterialName, getSkyResourceGroupName());
        log("\t\tMaterial [OK]");
        Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
        pass->setDepthCheckEnabled(false);
        pass->setDepthWriteEnabled(false);
        pass->setLightingEnabled(false);
        pass->setFog(true);
        if (shaders.fragmentPrograms)
        {
            loadProgram(kFragmentProgram, Ogre::GPT_FRAGMENT_PROGRAM);
            pass->setFragmentProgram(kFragmentProgram);
            Ogre::GpuProgramParametersSharedPtr params = pass->getFragmentProgramParameters();
            params->setIgnoreMissingParams(true);
            params->setNamedConstant("gradient", 0);
            params->setNamedConstant("offset", 0.0f);
            params->setNamedConstant("atmosphereInvHeight", 25.0f);
        }
        if (shaders.vertexPrograms)
        {
            log("before load...");
            loadProgram(kVertexProgram, Ogre::GPT_VERTEX_PROGRAM);
            log("after load...");
            pass->setVertexProgram(kVertexProgram);
            log("after setVertexProgram...");
            Ogre::GpuProgramParametersSharedPtr params = pass->getVertexProgramParameters();
            log("after getVertexProgramParameters...");
            params->setIgnoreMissingParams(true);
            params->setNamedAutoConstant("worldViewProj", Ogre::GpuProgramParameters::ACT_WORLDVIEWPROJ_MATRIX);
            params->setNamedConstant("sunDirection", Ogre::Vector3(1, 0, 0));
            params->setNamedConstant("lightAbsorption", 0.3f);
        }
        log("\t\tPass [OK]");
        Ogre::TextureUnitState* unit = pass->createTextureUnitState();
        unit->setTextureAddressingMode(Ogre::TAM_WRAP, Ogre::TAM_CLAMP, Ogre::TAM_CLAMP);
        log("\t\tTextureUnit [OK]");
        material->load();
        log("\tDONE");
    }
    log("DONE");
}

void SkyDome::destroySkyDomeMaterial()
{
    log("Removing sky dome material...");
    Ogre::HighLevelGpuProgramManager& programs = Ogre::HighLevelGpuProgramManager::getSingleton();
    for (const char* name : {kFragmentProgram, kVertexProgram})
        if (programs.resourceExists(name, getSkyResourceGroupName()))
        {
            log(std::string("Removing sky dome ") + name + "...");
            programs.remove(name, getSkyResourceGroupName());
        }
    if (material)
    {
        const std::string group = material->getGroup();
        material.reset();
        Ogre::MaterialManager::getSingleton().remove(kMaterialName, group);
    }
    log("DONE");
}
}
