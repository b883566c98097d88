// The page type of grass: each entity the loader adds is cloned onto a scene node of its own.
// Grass fades in its vertex program, so the page itself never fades.
#pragma once

#include "paging/GeometryPage.h"

#include <vector>

namespace Ogre
{
class SceneManager;
class SceneNode;
}

class GrassPage : public GeometryPage
{
public:
    GrassPage() = default;
    ~GrassPage() override;

    void init(GeometryPager* pager) override;
    // Uses only the entity and the position.
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                   const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                   const Ogre::ColourValue& color) override;
    void removeEntities() override;
    void setFade(bool, float, float) override {}
    void setVisible(bool visible) override;

    // One node per added entity, holding its clone.
    const std::vector<Ogre::SceneNode*>& getNodes() const { return nodeList; }

private:
    GeometryPager* pager = nullptr;  // not owned; its scene manager is known once it has a camera
    Ogre::SceneManager* sceneMgr = nullptr;
    std::vector<Ogre::SceneNode*> nodeList;
};
