// The near detail level of trees: every entity of a page drawn as full geometry, merged into
// one batch, with copies of the entities' materials so that nothing else changes its look.
#pragma once

#include "paging/BatchedGeometry.h"
#include "paging/GeometryPage.h"

#include <OGRE/OgreMaterial.h>

#include <memory>
#include <vector>

namespace Ogre
{
class SceneManager;
}

class BatchPage : public GeometryPage
{
public:
    BatchPage() = default;
    ~BatchPage() override;

    void init(GeometryPager* pager) override;
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                   const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                   const Ogre::ColourValue& color) override;
    void build() override;
    void removeEntities() override;
    // Batch pages never fade: trees change to impostors at a fixed range.
    void setFade(bool, float, float) override {}
    void setVisible(bool visible) override;

    // None until the first entity arrives.
    BatchedGeometry* getBatch() const { return batch.get(); }
    // The page's own copies, one per sub-batch of the last build.
    const std::vector<Ogre::MaterialPtr>& getUnfadedMaterials() const { return unfadedMaterials; }

private:
    void releaseMaterials();

    GeometryPager* pager = nullptr;  // not owned
    std::vector<Ogre::MaterialPtr> unfadedMaterials;
    std::unique_ptr<BatchedGeometry> batch;
};
