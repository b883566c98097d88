// A list of points drawn as lines (or points, by the operation type); the debug companion
// of DynamicQuads.
#pragma once

#include "graphics/DynamicPointList.h"

#include <cstdint>

class DynamicLines : public DynamicPointList
{
public:
    explicit DynamicLines(Ogre::RenderOperation::OperationType operationType);

    // Replaces point index; an index past the end is ignored.
    void setPoint(std::uint16_t index, const Ogre::Vector3& point);
    const Ogre::Vector3& getPoint(std::uint16_t index) const;
    std::uint16_t getNumPoints() const;

protected:
    void createVertexDeclaration() override;
    void fillHardwareBuffers() override;
};
