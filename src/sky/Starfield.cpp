// The starfield sphere and its material.
#include "sky/Starfield.h"

#include "sky/SkyResourceGroup.h"
#include "sky/SphereMesh.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureManager.h>
#include <OGRE/OgreTextureUnitState.h>

namespace sky
{
namespace
{
const char* const kMeshName = "SkyStarfieldDome";
const char* const kMaterialName = "SkyStarfieldMaterial";
const char* const kEntityName = "StarfieldDome";
constexpr unsigned kSegments = 32;
constexpr Ogre::uint8 kRenderQueue = 6;  // before the dome (7) and the sun (8)

void log(const std::string& line)
{
    Ogre::LogManager::getSingleton().logMessage(line);
}
}

Starfield::Starfield(Ogre::SceneManager* manager) : sceneManager(manager)
{
    try
    {
        build();
    }
    catch (...)
    {
        release();  // the destructor does not run for a starfield that was never made
        throw;
    }
}

void Starfield::build()
{
    createStarfieldMaterial();
    createSphereMesh(kMeshName, kSegments, SphereKind::UV);
    element = std::make_unique<SceneElement>(sceneManager, kEntityName, kMeshName, kMaterialName, kRenderQueue);
}

Starfield::~Starfield()
{
    release();
}

void Starfield::release()
{
    element.reset();
    destroyStarfieldMaterial();
}

void Starfield::setStarfieldTexture(const std::string& name)
{
    textureName = name;
    if (textureBound)
        bindTexture();
}

void Starfield::bindTexture()
{
    Ogre::Technique* technique = material->getBestTechnique();
    if (!technique)
        technique = material->getTechnique(0);
    // Made without mipmaps, as none is sampled: building them took longer than all the rest of
    // the sky's set-up.
    Ogre::TextureManager::getSingleton().createOrRetrieve(textureName, getSkyResourceGroupName(), false, nullptr,
                                                          nullptr, Ogre::TEX_TYPE_2D, 0);
    technique->getPass(0)->getTextureUnitState(0)->setTextureName(textureName, Ogre::TEX_TYPE_2D);
    textureBound = true;
}

void Starfield::update(float relativeDayTime)
{
    const Ogre::Quaternion tilt(Ogre::Radian(inclination + Ogre::Degree(90)), Ogre::Vector3::UNIT_X);
    const Ogre::Quaternion turn(Ogre::Radian(Ogre::Math::TWO_PI * relativeDayTime), Ogre::Vector3::UNIT_Y);
    element->getNode()->setOrientation(tilt * turn);
}

void Starfield::followCamera(const Ogre::Camera* camera)
{
    // Called before every view is drawn, after the sky has chosen whether stars show.
    if (!textureBound && !textureName.empty() && element->getEntity()->getVisible())
        bindTexture();
    followCameraWithSphere(element->getNode(), camera, autoRadius);
}

void Starfield::setFarDistance(float distance)
{
    fixSphereRadius(element->getNode(), distance, autoRadius);
}

void Starfield::createStarfieldMaterial()
{
    log("Generating starfield material...");
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    material = materials.getByName(kMaterialName, getSkyResourceGroupName());
    if (!material)
    {
        log("\tMaterial not found; creating...");
        material = materials.create(kMaterialName, getSkyResourceGroupName());
        log("\t\tMaterial [OK]");
        Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        pass->setDepthCheckEnabled(false);
        pass->setDepthWriteEnabled(false);
        pass->setLightingEnabled(false);
        pass->setFog(true);
        log("\t\tPass [OK]");
        Ogre::TextureUnitState* unit = pass->createTextureUnitState();
        unit->setTextureAddressingMode(Ogre::TAM_WRAP);
        // Never a mipmap: round the poles a whole row of the map crowds into a small circle,
        // so a smaller mipmap would be chosen there, its rows taller, and each star drawn as
        // a streak pointing at the pole.
        unit->setTextureFiltering(Ogre::FO_LINEAR, Ogre::FO_LINEAR, Ogre::FO_NONE);
        log("\t\tTextureUnit [OK]");
        material->load();
        log("\tDONE");
    }
    log("DONE");
}

void Starfield::destroyStarfieldMaterial()
{
    log("Removing starfield material...");
    if (material)
    {
        const std::string group = material->getGroup();
        material.reset();
        Ogre::MaterialManager::getSingleton().remove(kMaterialName, group);
    }
    log("DONE");
}
}
