// Batch pages and the material copies they draw with.
#include "paging/BatchPage.h"

#include "paging/BatchedGeometrySubBatch.h"
#include "paging/GeometryPager.h"

#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>

#include <map>
#include <string>

namespace
{
// Batching changes a material (vertex colours drive its ambient, no specular): every batch
// page shares one copy per original, so trees elsewhere keep their look. The copy goes when
// the last page using it is emptied.
struct MaterialCopy
{
    Ogre::MaterialPtr copy;
    int users = 0;
};

std::map<std::string, MaterialCopy>& copiesByOriginal()
{
    static std::map<std::string, MaterialCopy> copies;
    return copies;
}

Ogre::MaterialPtr acquireCopy(const Ogre::MaterialPtr& original)
{
    static unsigned copyCounter = 0;
    MaterialCopy& entry = copiesByOriginal()[original->getGroup() + "/" + original->getName()];
    if (!entry.copy)
    {
        entry.copy = original->clone(original->getName() + "/BatchPage" + std::to_string(copyCounter++));
        entry.copy->load();
    }
    ++entry.users;
    return entry.copy;
}

void releaseCopy(const Ogre::MaterialPtr& copy)
{
    auto& copies = copiesByOriginal();
    for (auto it = copies.begin(); it != copies.end(); ++it)
    {
        if (it->second.copy != copy)
            continue;
        if (--it->second.users == 0)
        {
            Ogre::MaterialManager::getSingleton().remove(copy);
            copies.erase(it);
        }
        return;
    }
}
}

BatchPage::~BatchPage()
{
    batch.reset();
    releaseMaterials();
}

void BatchPage::init(GeometryPager* owner) { pager = owner; }

void BatchPage::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                          const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                          const Ogre::ColourValue& color)
{
    // The pager knows its scene manager once it has a camera, and it loads nothing before.
    if (!batch)
        batch = std::make_unique<BatchedGeometry>(pager->getSceneManager());
    batch->addEntity(entity, position, rotation, scale, color);
}

void BatchPage::build()
{
    if (!batch)
        return;  // no trees here
    if (!batch->isBuilt())
    {
        releaseMaterials();
        BatchedGeometry::SubBatchIterator subBatches = batch->getSubBatchIterator();
        while (subBatches.hasMoreElements())
        {
            BatchedGeometry::SubBatch* subBatch = subBatches.getNext();
            subBatch->setMaterial(acquireCopy(subBatch->getMaterial()));
            unfadedMaterials.push_back(subBatch->getMaterial());
        }
    }
    batch->build();  // a second build is refused

    for (const Ogre::MaterialPtr& material : unfadedMaterials)
        for (Ogre::Technique* technique : material->getTechniques())
            for (Ogre::Pass* pass : technique->getPasses())
                if (!pass->hasVertexProgram())
                    pass->setSpecular(0.0f, 0.0f, 0.0f, 1.0f);
}

void BatchPage::removeEntities()
{
    if (batch)
        batch->clear();
    releaseMaterials();
}

void BatchPage::setVisible(bool visible)
{
    if (batch)
        batch->setVisible(visible);
}

void BatchPage::releaseMaterials()
{
    for (const Ogre::MaterialPtr& material : unfadedMaterials)
        releaseCopy(material);
    unfadedMaterials.clear();
}
