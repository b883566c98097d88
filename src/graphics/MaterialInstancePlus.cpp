// Colour-scaled material clones.
#include "graphics/MaterialInstancePlus.h"

#include "graphics/MaterialCloning.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgrePass.h>

namespace
{
Ogre::ColourValue scaled(const Ogre::ColourValue& colour, float factor)
{
    return Ogre::ColourValue(factor * colour.r, factor * colour.g, factor * colour.b, colour.a);
}
}

MaterialInstancePlus::MaterialInstancePlus(const std::string& prefix) : prefix(prefix)
{
}

MaterialInstancePlus::~MaterialInstancePlus()
{
    clearCopy();
    base.reset();
}

void MaterialInstancePlus::createCopy()
{
    const std::string stem = prefix + base->getName();
    std::string name = stem;
    // A fresh suffix on the stem each time: suffixes never pile up.
    while (MaterialCloning::nameTaken(name))
        name = MaterialCloning::randomName(stem);
    copy = base->clone(name);
}

void MaterialInstancePlus::clearCopy()
{
    MaterialCloning::removeClone(copy);
}

void MaterialInstancePlus::setSpecular(float factor)
{
    if (!copy)
        createCopy();
    MaterialCloning::forEachPassPair(base, copy, [factor](const Ogre::Pass& basePass, Ogre::Pass& pass) {
        pass.setSpecular(scaled(basePass.getSpecular(), factor));
    });
}

void MaterialInstancePlus::setDiffuse(float factor)
{
    if (!copy)
        createCopy();
    MaterialCloning::forEachPassPair(base, copy, [factor](const Ogre::Pass& basePass, Ogre::Pass& pass) {
        pass.setDiffuse(scaled(basePass.getDiffuse(), factor));
    });
}

void MaterialInstancePlus::setAmbient(float factor)
{
    if (!copy)
        createCopy();
    MaterialCloning::forEachPassPair(base, copy, [factor](const Ogre::Pass& basePass, Ogre::Pass& pass) {
        pass.setAmbient(scaled(basePass.getAmbient(), factor));
    });
}
