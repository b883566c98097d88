// Clone naming and pass visits of the material instances.
#include "graphics/MaterialCloning.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMath.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreStringConverter.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreTechnique.h>

namespace MaterialCloning
{
std::string randomName(const std::string& stem)
{
    return stem + Ogre::StringConverter::toString(Ogre::Math::UnitRandom(), 6, 0, ' ');
}

bool nameTaken(const std::string& name)
{
    return Ogre::MaterialManager::getSingleton().resourceExists(name);
}

void forEachPassPair(const Ogre::MaterialPtr& base, const Ogre::MaterialPtr& copy,
                     const std::function<void(const Ogre::Pass& basePass, Ogre::Pass& copyPass)>& visit)
{
    const auto& baseTechniques = base->getTechniques();
    const auto& copyTechniques = copy->getTechniques();
    for (std::size_t ti = 0; ti < copyTechniques.size() && ti < baseTechniques.size(); ++ti)
    {
        const auto& basePasses = baseTechniques[ti]->getPasses();
        const auto& copyPasses = copyTechniques[ti]->getPasses();
        for (std::size_t pi = 0; pi < copyPasses.size() && pi < basePasses.size(); ++pi)
            visit(*basePasses[pi], *copyPasses[pi]);
    }
}

void removeClone(Ogre::MaterialPtr& copy)
{
    if (copy)
        Ogre::MaterialManager::getSingleton().remove(copy->getName(), copy->getGroup());
    copy.reset();
}

Ogre::MaterialPtr materialOf(const Ogre::SubEntity& subEntity)
{
    const std::string& name = subEntity.getMaterialName();
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "no material named \"" + name + "\" to clone",
                    "MaterialCloning::materialOf");
    return material;
}
}
