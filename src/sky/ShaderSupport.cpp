// The render system's program capabilities.
#include "sky/ShaderSupport.h"

#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRenderSystemCapabilities.h>
#include <OGRE/OgreRoot.h>

namespace sky
{
ShaderSupport ShaderSupport::fromRenderSystem()
{
    ShaderSupport support;
    Ogre::RenderSystem* renderSystem = Ogre::Root::getSingletonPtr() ? Ogre::Root::getSingleton().getRenderSystem() : nullptr;
    if (!renderSystem || !renderSystem->getCapabilities())
        return support;
    const Ogre::RenderSystemCapabilities* capabilities = renderSystem->getCapabilities();
    support.vertexPrograms = capabilities->hasCapability(Ogre::RSC_VERTEX_PROGRAM);
    support.fragmentPrograms = capabilities->hasCapability(Ogre::RSC_FRAGMENT_PROGRAM);
    return support;
}
}
