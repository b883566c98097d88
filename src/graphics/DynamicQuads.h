// A strip of textured quads from pairs of points (left, right, left, right, ...): each
// quad maps the whole texture, across the strip in u and along it in v. The tyre tracks.
#pragma once

#include "graphics/DynamicPointList.h"

class DynamicQuads : public DynamicPointList
{
public:
    explicit DynamicQuads(Ogre::RenderOperation::OperationType operationType);

    // Assigns a material by name (a missing one falls back to plain white).
    using DynamicRenderable::setMaterialName;

protected:
    void createVertexDeclaration() override;
    void fillHardwareBuffers() override;
};
