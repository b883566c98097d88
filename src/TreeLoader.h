// The game's own tree loader, one terrain's forest on the paging core's paging/TreeLoader3D:
// planted once at load time from a fixed seed where the track leaves room, each tree with a
// static trunk collider and, while a stamped lightmap is given, its shadow multiplied into
// it. The kinds and how they are picked are the terrain's (GrassTreeLoader, DesertTreeLoader).
#pragma once

#include "TreeKind.h"
#include "TreePlanter.h"
#include "paging/TreeLoader3D.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Ogre
{
class Entity;
class SceneManager;
}

namespace nxOgre
{
struct NxShapeDesc;
}

class PhysicBase;
class ToyPictureGrey;

class TreeLoader : public TreeLoader3D
{
public:
    // What the trees stand on and next to; none of it owned.
    struct Ground
    {
        Ogre::SceneManager* sceneManager = nullptr;
        PhysicBase* physics = nullptr;              // none: trees without colliders
        TreePlanter::Field coverage;                 // the track's, 0 where trees may grow
        TreePlanter::Field height;                   // the terrain's
    };

    // name prefixes the physics actors' and textures' names.
    TreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds, Ground ground,
               std::uint32_t count, std::uint32_t seed);
    // Removes the colliders it made and the entities.
    ~TreeLoader() override;

    // A tree without a collider.
    bool addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale = 1.0f) override;
    // A tree of one of the kinds, with its trunk collider standing on the ground at its scale.
    bool addTreeWithActor(unsigned kind, const Ogre::Vector3& position, float yawDegrees, float scale = 1.0f);

    // Plants every tree; while stamped is given, each tree's shadow is multiplied into it.
    void createTrees(ToyPictureGrey* stamped, const ToyPictureGrey* shadow);

    // The trees' actors, in the order they were made.
    std::vector<std::string> getActorNames() const;
    std::uint32_t getTreesAdded() const { return treesAdded; }
    std::uint32_t getCount() const { return count; }
    const std::vector<TreeKind>& getKinds() const { return kinds; }
    Ogre::Entity* getEntity(unsigned kind) const { return entities.at(kind); }
    const std::string& getName() const { return name; }
    // The trunk collider of a kind at a scale, made on first use.
    const nxOgre::NxShapeDesc& trunkShape(unsigned kind, float scale);

protected:
    // Creates the kind's entity; the subclasses call it for each of their kinds.
    void addKind(const TreeKind& kind);
    // Picks the kind of the next tree from the planter's numbers.
    virtual unsigned chooseKind(TreePlanter& planter) = 0;

private:
    void stampShadow(const Ogre::Vector3& position);
    // The name of the actor of the tree planted as number (counting every tree).
    std::string actorNameFor(std::uint32_t number) const;

    std::string name;
    Ground ground;
    std::uint32_t count;
    std::uint32_t seed;
    TBounds area;
    std::vector<TreeKind> kinds;
    std::vector<Ogre::Entity*> entities;  // the scene manager's, one per kind
    std::map<std::pair<unsigned, float>, std::unique_ptr<nxOgre::NxShapeDesc>> trunkShapes;
    // The numbers in the actors' names: a race plants tens of thousands, and keeping each
    // name whole cost megabytes.
    std::vector<std::uint32_t> actorNumbers;
    std::uint32_t treesAdded = 0;
    ToyPictureGrey* stamped = nullptr;       // during createTrees only
    const ToyPictureGrey* shadow = nullptr;
};
