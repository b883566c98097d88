// How a material's textures are filtered: anisotropic at a degree above 1, otherwise
// trilinear with anisotropy off (software GL pays several times the fill cost for it).
#pragma once

namespace Ogre
{
class Material;
}

void applyTextureFiltering(Ogre::Material& material, unsigned anisotropy);
