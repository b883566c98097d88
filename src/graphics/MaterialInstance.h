// A private clone of a material for fading one object: made on the first transparency
// above 0, removed from the material manager when the instance goes.
#pragma once

#include <OGRE/OgreBlendMode.h>
#include <OGRE/OgreMaterial.h>

class MaterialInstance
{
public:
    MaterialInstance();
    // Removes the clone.
    virtual ~MaterialInstance();

    // Clones the base under a fresh random name, depth writing off, the stored blending.
    void createCopy();
    // Removes the clone from the material manager, if there is one.
    void clearCopy();
    // Stored, and set on every pass of the clone if it exists.
    void setSceneBlending(Ogre::SceneBlendType blendType);
    // 0 opaque … 1 invisible. At or below 0 only the value is stored; above, the clone's
    // passes fade: additive ones darken, the others lose alpha.
    void setTransparency(float transparency);

    float getTransparency() const { return transparency; }
    const Ogre::MaterialPtr& getCopy() const { return copy; }
    const Ogre::MaterialPtr& getBase() const { return base; }

protected:
    virtual void initOriginalMaterial() = 0;

    Ogre::MaterialPtr base;  // the sub-entity's own material
    Ogre::MaterialPtr copy;  // the private clone; null until needed
    float transparency = 0.0f;
    Ogre::SceneBlendType blendType = Ogre::SBT_TRANSPARENT_ALPHA;
};
