// Texture filtering of whole materials.
#include "graphics/TextureFiltering.h"

#include <OGRE/OgreMaterial.h>

void applyTextureFiltering(Ogre::Material& material, unsigned anisotropy)
{
    if (anisotropy > 1)
    {
        material.setTextureFiltering(Ogre::TFO_ANISOTROPIC);
        material.setTextureAnisotropy(anisotropy);
        return;
    }
    material.setTextureFiltering(Ogre::TFO_TRILINEAR);
    // A degree left above 1 would still sample anisotropically on GL.
    material.setTextureAnisotropy(1);
}
