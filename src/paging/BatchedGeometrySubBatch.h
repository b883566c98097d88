// One draw of a batch: every queued copy of submeshes sharing one material and one vertex and
// index format, baked into one vertex buffer per source and one index buffer.
#pragma once

#include "paging/BatchedGeometry.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreRenderable.h>
#include <OGRE/OgreVertexIndexData.h>

#include <memory>
#include <string>
#include <vector>

class BatchedGeometry::SubBatch : public Ogre::Renderable
{
public:
    // One placed copy of a submesh.
    struct QueuedMesh
    {
        Ogre::SubMesh* subMesh = nullptr;
        Ogre::Vector3 position = Ogre::Vector3::ZERO;
        Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
        Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
        // Red and blue swapped on an ARGB render system, so that bytes 0..2 tint in order.
        Ogre::ColourValue color = Ogre::ColourValue::White;
    };

    // The submesh is the format template; its vertex and index data are cloned empty.
    SubBatch(BatchedGeometry* parent, Ogre::SubMesh* subMesh, const Ogre::MaterialPtr& material);
    SubBatch(const SubBatch&) = delete;
    SubBatch& operator=(const SubBatch&) = delete;
    ~SubBatch() override;

    // The key of the sub-batch a submesh drawn with this material belongs to.
    static std::string formatString(const Ogre::SubMesh& subMesh, const Ogre::String& materialName);

    void addSubMesh(Ogre::SubMesh* subMesh, const Ogre::Vector3& position,
                    const Ogre::Quaternion& orientation, const Ogre::Vector3& scale,
                    const Ogre::ColourValue& color);
    void build();
    void clear();
    void addSelfToRenderQueue(Ogre::RenderQueue* queue, Ogre::uint8 group);

    // Only before build: the material the copies are drawn with.
    void setMaterial(const Ogre::MaterialPtr& newMaterial) { material = newMaterial; }
    const Ogre::VertexData& getVertexData() const { return *vertexData; }
    const Ogre::IndexData& getIndexData() const { return *indexData; }
    bool isBuilt() const { return built; }

    const Ogre::MaterialPtr& getMaterial() const override { return material; }
    Ogre::Technique* getTechnique() const override;
    void getRenderOperation(Ogre::RenderOperation& op) override;
    void getWorldTransforms(Ogre::Matrix4* xform) const override;
    Ogre::Real getSquaredViewDepth(const Ogre::Camera* camera) const override;
    const Ogre::LightList& getLights() const override;

private:
    void removeBlendElements();
    void bakeVertices(const QueuedMesh& copy, const std::vector<unsigned char*>& writePos,
                      const Ogre::ColourValue& ambient);
    void bakeIndices(const QueuedMesh& copy, void* indexPos, size_t vertexOffset);

    bool built = false;
    std::unique_ptr<Ogre::VertexData> vertexData;
    std::unique_ptr<Ogre::IndexData> indexData;
    Ogre::SubMesh* meshType;    // the format template, not owned
    BatchedGeometry* parent;    // not owned
    Ogre::MaterialPtr material;
    Ogre::Technique* bestTechnique = nullptr;  // chosen for the current frame
    std::vector<QueuedMesh> meshQueue;
    // The submesh's buffer source behind each of ours; -1 for the colour source we add.
    std::vector<int> submeshSource;
};
