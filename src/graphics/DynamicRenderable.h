// Base of small renderables rebuilt at run time from a list of points. Keeps its hardware
// buffers in power-of-two capacities that grow at once and shrink only below half use,
// so a list growing point by point reallocates rarely.
#pragma once

#include <OGRE/OgreRenderOperation.h>
#include <OGRE/OgreSimpleRenderable.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DynamicRenderable : public Ogre::SimpleRenderable
{
public:
    DynamicRenderable();
    ~DynamicRenderable() override;

    // Sets the operation type, makes the vertex (and index) data and the declaration.
    void initialize(Ogre::RenderOperation::OperationType operationType, bool useIndexes);
    // Sizes the buffers for this many vertices and indices (the capacity rule above).
    void prepareHardwareBuffers(std::size_t vertexCount, std::size_t indexCount);

    Ogre::Real getBoundingRadius() const override;
    Ogre::Real getSquaredViewDepth(const Ogre::Camera* camera) const override;

protected:
    virtual void createVertexDeclaration() = 0;
    virtual void fillHardwareBuffers() = 0;

    // Sets the material by name; a missing material is logged and the engine's plain
    // white one is used, so a broken material file never leaves the object unrenderable.
    void setMaterialName(const std::string& name);
    // Bounds of the first count points; the zero box when there are none.
    void setBoundsToPoints(const std::vector<Ogre::Vector3>& points, std::size_t count);

private:
    // The capacity the rule gives for a count, from the current capacity.
    static std::uint32_t nextCapacity(std::uint32_t capacity, std::size_t count);

    std::unique_ptr<Ogre::VertexData> vertexData;
    std::unique_ptr<Ogre::IndexData> indexData;
    std::uint32_t vertexBufferCapacity = 0;  // vertices; 0 = no buffer yet
    std::uint32_t indexBufferCapacity = 0;   // indices; 0 = no buffer yet
};
