// Many placed copies of meshes merged into a few static vertex and index buffers, one per
// material and vertex format, drawn as one scene object: a page of trees in a handful of draws.
#pragma once

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreHardwareVertexBuffer.h>
#include <OGRE/OgreMovableObject.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <map>
#include <memory>
#include <string>

namespace Ogre
{
class Entity;
class SceneManager;
class SceneNode;
class SubMesh;
}

class BatchedGeometry : public Ogre::MovableObject
{
public:
    class SubBatch;
    using SubBatchMap = std::map<std::string, std::unique_ptr<SubBatch>>;

    // Walks the sub-batches in key order.
    class SubBatchIterator
    {
    public:
        explicit SubBatchIterator(SubBatchMap& map) : current(map.begin()), end(map.end()) {}
        bool hasMoreElements() const { return current != end; }
        SubBatch* getNext() { return (current++)->second.get(); }

    private:
        SubBatchMap::iterator current;
        SubBatchMap::iterator end;
    };

    // colourType is the packed vertex colour layout of the render system (ARGB or ABGR).
    explicit BatchedGeometry(
        Ogre::SceneManager* sceneMgr,
        Ogre::VertexElementType colourType = Ogre::VertexElement::getBestColourVertexElementType());
    BatchedGeometry(const BatchedGeometry&) = delete;
    BatchedGeometry& operator=(const BatchedGeometry&) = delete;
    ~BatchedGeometry() override;

    // Queues every submesh of the entity's mesh; meshes with shared vertex data are refused.
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                   const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY,
                   const Ogre::Vector3& scale = Ogre::Vector3::UNIT_SCALE,
                   const Ogre::ColourValue& color = Ogre::ColourValue::White);
    // Bakes the queued copies and attaches the batch to a scene node of its own at the centre.
    void build();
    void clear();

    SubBatchIterator getSubBatchIterator() { return SubBatchIterator(subBatches); }
    size_t getSubBatchCount() const { return subBatches.size(); }
    bool isBuilt() const { return built; }
    const Ogre::Vector3& getCenter() const { return center; }
    Ogre::SceneNode* getSceneNode() const { return sceneNode; }
    Ogre::VertexElementType getColourType() const { return colourType; }
    float getMinDistanceSquared() const { return minDistanceSquared; }

    const Ogre::String& getMovableType() const override;
    void _notifyCurrentCamera(Ogre::Camera* camera) override;
    // Absolute while entities are added, relative to the centre once built.
    const Ogre::AxisAlignedBox& getBoundingBox() const override { return bounds; }
    Ogre::Real getBoundingRadius() const override { return radius; }
    void _updateRenderQueue(Ogre::RenderQueue* queue) override;
    void visitRenderables(Ogre::Renderable::Visitor* visitor, bool debugRenderables) override;

private:
    SubBatchMap subBatches;  // by format string
    Ogre::Vector3 center = Ogre::Vector3::ZERO;
    Ogre::AxisAlignedBox bounds;
    bool boundsUndefined = true;
    float radius = 0.0f;  // of the centred bounds' maximum corner
    Ogre::SceneManager* sceneMgr;
    Ogre::SceneNode* sceneNode = nullptr;  // created by build, destroyed by clear
    Ogre::VertexElementType colourType;
    float minDistanceSquared = 0.0f;  // from the current camera to the nearest point
    bool built = false;
};
