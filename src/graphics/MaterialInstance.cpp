// Transparency through a private material clone.
#include "graphics/MaterialInstance.h"

#include "graphics/MaterialCloning.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgrePass.h>

#include <algorithm>

MaterialInstance::MaterialInstance() = default;

MaterialInstance::~MaterialInstance()
{
    clearCopy();
    base.reset();
}

void MaterialInstance::createCopy()
{
    std::string name;
    do
        name = MaterialCloning::randomName(base->getName());
    while (MaterialCloning::nameTaken(name));
    copy = base->clone(name);
    MaterialCloning::forEachPassPair(base, copy, [this](const Ogre::Pass&, Ogre::Pass& pass) {
        pass.setDepthWriteEnabled(false);
        pass.setSceneBlending(blendType);
    });
}

void MaterialInstance::clearCopy()
{
    MaterialCloning::removeClone(copy);
}

void MaterialInstance::setSceneBlending(Ogre::SceneBlendType type)
{
    blendType = type;
    if (!copy)
        return;
    MaterialCloning::forEachPassPair(base, copy,
                                     [type](const Ogre::Pass&, Ogre::Pass& pass) { pass.setSceneBlending(type); });
}

void MaterialInstance::setTransparency(float value)
{
    transparency = value;
    if (transparency <= 0.0f)
    {
        // Back to opaque: the clone keeps its colours, the owner shows the base again.
        transparency = 0.0f;
        return;
    }
    transparency = std::min(transparency, 1.0f);
    if (!copy)
        createCopy();
    const float t = transparency;
    const bool additive = blendType == Ogre::SBT_ADD;
    MaterialCloning::forEachPassPair(base, copy, [t, additive](const Ogre::Pass& basePass, Ogre::Pass& pass) {
        const Ogre::ColourValue diffuse = basePass.getDiffuse();
        if (additive)
        {
            // Adding less light is the only way an additive object can fade.
            pass.setAmbient(Ogre::ColourValue::Black);
            pass.setDiffuse(diffuse.r - t * diffuse.r, diffuse.g - t * diffuse.g, diffuse.b - t * diffuse.b, diffuse.a);
        }
        else
        {
            pass.setAmbient(basePass.getAmbient());
            pass.setDiffuse(diffuse.r, diffuse.g, diffuse.b, (1.0f - t) * diffuse.a);
        }
    });
}
