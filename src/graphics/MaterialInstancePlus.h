// A private clone of a material whose specular, diffuse and ambient colours are the base
// material's scaled by a factor (the car's shade). Named from the owner's prefix.
#pragma once

#include <OGRE/OgreMaterial.h>

#include <string>

class MaterialInstancePlus
{
public:
    explicit MaterialInstancePlus(const std::string& prefix);
    // Removes the clone.
    virtual ~MaterialInstancePlus();

    // Clones the base as prefix + base name, or with a random suffix while that is taken.
    void createCopy();
    void clearCopy();
    // The base material's colour times the factor on every pass of the clone; alpha stays.
    // The base is always the source, so repeated calls do not accumulate.
    void setSpecular(float factor);
    void setDiffuse(float factor);
    void setAmbient(float factor);

    const Ogre::MaterialPtr& getCopy() const { return copy; }
    const Ogre::MaterialPtr& getBase() const { return base; }

protected:
    virtual void initOriginalMaterial() = 0;

    Ogre::MaterialPtr base;
    Ogre::MaterialPtr copy;
    std::string prefix;
};
