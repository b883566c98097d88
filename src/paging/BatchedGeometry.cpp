// The batch as a scene object: queues entities, bakes them around its centre, culls itself by
// its radius and the rendering distance.
#include "paging/BatchedGeometry.h"

#include "paging/BatchedGeometrySubBatch.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreMatrix4.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreSubMesh.h>

#include <algorithm>

BatchedGeometry::BatchedGeometry(Ogre::SceneManager* manager, Ogre::VertexElementType colour)
    : sceneMgr(manager), colourType(colour)
{
    setCastShadows(false);
    _notifyManager(manager);
    clear();
}

BatchedGeometry::~BatchedGeometry() { clear(); }

const Ogre::String& BatchedGeometry::getMovableType() const
{
    static const Ogre::String type = "BatchedGeometry";
    return type;
}

void BatchedGeometry::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                                const Ogre::Quaternion& orientation, const Ogre::Vector3& scale,
                                const Ogre::ColourValue& color)
{
    const Ogre::MeshPtr& mesh = entity->getMesh();
    for (unsigned short index = 0; index < mesh->getNumSubMeshes(); ++index)
    {
        Ogre::SubMesh* subMesh = mesh->getSubMesh(index);
        if (subMesh->useSharedVertices || !subMesh->vertexData)
            OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                        "BatchedGeometry cannot use meshes with shared vertex data",
                        "BatchedGeometry::addEntity()");
        // The entity's own material: the mesh's, unless the entity was given another one.
        const Ogre::MaterialPtr& material = entity->getSubEntity(index)->getMaterial();
        const std::string key = SubBatch::formatString(*subMesh, material->getName());
        auto found = subBatches.find(key);
        if (found == subBatches.end())
            found = subBatches.emplace(key, std::make_unique<SubBatch>(this, subMesh, material)).first;
        found->second->addSubMesh(subMesh, position, orientation, scale, color);
    }

    Ogre::Matrix4 transform;
    transform.makeTransform(Ogre::Vector3::ZERO, scale, orientation);
    Ogre::AxisAlignedBox box = entity->getBoundingBox();
    box.transform(transform);
    const Ogre::Vector3 low = box.getMinimum() + position;
    const Ogre::Vector3 high = box.getMaximum() + position;
    if (boundsUndefined)
    {
        bounds.setExtents(low, high);
        boundsUndefined = false;
    }
    else
    {
        bounds.merge(low);
        bounds.merge(high);
    }
}

void BatchedGeometry::build()
{
    if (built)
        OGRE_EXCEPT(Ogre::Exception::ERR_DUPLICATE_ITEM,
                    "Invalid call to build() - geometry is already batched (call clear() first)",
                    "BatchedGeometry::GeomBatch::build()");
    if (subBatches.empty())
        return;

    center = bounds.getCenter();
    bounds.setExtents(bounds.getMinimum() - center, bounds.getMaximum() - center);
    radius = bounds.getMaximum().length();

    sceneNode = sceneMgr->getRootSceneNode()->createChildSceneNode(center);
    for (auto& entry : subBatches)
        entry.second->build();
    sceneNode->attachObject(this);
    built = true;
}

void BatchedGeometry::clear()
{
    if (sceneNode)
    {
        sceneNode->detachAllObjects();
        sceneMgr->destroySceneNode(sceneNode);
        sceneNode = nullptr;
    }
    bounds.setNull();
    boundsUndefined = true;
    center = Ogre::Vector3::ZERO;
    radius = 0.0f;
    subBatches.clear();
    built = false;
}

void BatchedGeometry::_notifyCurrentCamera(Ogre::Camera* camera)
{
    const float distanceSq = camera->getDerivedPosition().squaredDistance(center);
    minDistanceSquared = std::max(0.0f, distanceSq - radius * radius);
    if (getRenderingDistance() == 0.0f)
        mBeyondFarDistance = false;
    else
        mBeyondFarDistance = mSquaredUpperDistance < minDistanceSquared;
}

void BatchedGeometry::_updateRenderQueue(Ogre::RenderQueue* queue)
{
    if (!isVisible())
        return;
    for (auto& entry : subBatches)
        entry.second->addSelfToRenderQueue(queue, getRenderQueueGroup());
}

void BatchedGeometry::visitRenderables(Ogre::Renderable::Visitor* visitor, bool)
{
    for (auto& entry : subBatches)
        visitor->visit(entry.second.get(), 0, false);
}
