// The game's own tree loader, one terrain's forest on the paging core's paging/TreeLoader3D:
// planted once at load time from a fixed seed where the track leaves room, each tree with a
// static collision actor and, while the race's lightmap lacks them, its shadow multiplied
// into a copy of it that then becomes the race's. The kinds, their colliders and how they
// are picked are the terrain's (GrassTreeLoader, DesertTreeLoader).
#pragma once

#include "TreeKind.h"
#include "TreePlanter.h"
#include "paging/TreeLoader3D.h"

#include <cstdint>
#include <memory>
#include <string>
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

class OgreToyPicture;
class PhysicBase;
class TempImageManager;
class ToyPictureGrey;

class TreeLoader : public TreeLoader3D
{
public:
    // What the trees stand on and next to; none of it owned.
    struct Ground
    {
        Ogre::SceneManager* sceneManager = nullptr;
        PhysicBase* physics = nullptr;       // none: trees without colliders
        TreePlanter::Field coverage;          // the track's, 0 where trees may grow
        TreePlanter::Field height;            // the terrain's
        ToyPictureGrey* lightmap = nullptr;   // the race's terrain lightmap; none with lightmaps off
        bool lightmapHasTrees = false;        // it was read from the cache with their shadows in it
        TempImageManager* cache = nullptr;    // the track's picture cache, when there is one
        std::string lightmapCacheName;        // the name the shadowed lightmap is cached under
    };

    // Multiplied into the lightmap at every tree's foot.
    static constexpr const char* kShadowStamp = "treeshadow.png";

    // name prefixes the physics actors' and the colour texture's names; count + 1 tries are
    // made at planting a tree.
    TreeLoader(const std::string& name, GeometryPager* geometry, const TBounds& bounds, Ground ground,
               std::uint32_t count);
    // Destroys the entities, removes the actors it made and lets go of its pictures.
    ~TreeLoader() override;

    // A tree without a collider.
    bool addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale = 1.0f) override;
    // A tree with a static actor of the shape at its foot, turned by its yaw; the tree's scale
    // is not applied to the shape, which must outlive the loader's actors.
    bool addTreeWithActor(Ogre::Entity* entity, const nxOgre::NxShapeDesc& shape, const Ogre::Vector3& position,
                          float yawDegrees, float scale = 1.0f);

    // Plants every tree, then loadLightmap. Engine exceptions (a missing picture) pass.
    void createTrees();
    // With lightmaps on: the shadowed copy becomes the race's lightmap and is cached, and the
    // trees are tinted by their colour picture.
    void loadLightmap();

    // The track's coverage (0 to 255) and the terrain's height at a world place.
    float getCoverage(float x, float z) const;
    float getTerrainHeight(float x, float z) const;

    const std::string& getName() const { return name; }
    std::uint32_t getCount() const { return count; }
    std::uint32_t getTreesAdded() const { return treesAdded; }
    TBounds getBounds() const { return area; }
    // The stamp multiplied in at every tree, and the trees' colours until they have taken them;
    // none with lightmaps off.
    const ToyPictureGrey* getShadowPicture() const { return shadowPicture.get(); }
    const ToyPictureGrey* getTreeColourPicture() const { return treeColourPicture.get(); }
    // The trees' actors, in the order they were made.
    std::vector<std::string> getActorNames() const;
    Ogre::Entity* getEntity(unsigned kind) const { return entities.at(kind); }
    // What a kind's trees collide as; none for trees without colliders.
    const nxOgre::NxShapeDesc* getCollider(unsigned kind) const { return colliders.at(kind); }

protected:
    // Creates a kind's entity, kind numbers counting from 0 in call order; the subclasses
    // call it for each of their kinds, then give each its collider.
    Ogre::Entity* addKind(const TreeKind& kind);
    // The kind's collider, borrowed; none plants it without one.
    void setCollider(unsigned kind, const nxOgre::NxShapeDesc* shape);
    // Loads a picture of the media at its own size; throws the engine's file-not-found
    // exception when it does not load.
    static void loadMediaPicture(ToyPictureGrey& picture, const std::string& file);
    void loadShadowStamp() { loadMediaPicture(*shadowPicture, kShadowStamp); }

    // With lightmaps on, before planting: the shadow stamp, and the trees' colour picture
    // from the race's lightmap.
    virtual void prepareLightmap() = 0;
    // The next tree's kind, from std::rand after its place and yaw.
    virtual unsigned chooseKind() = 0;

    const Ground& getGround() const { return ground; }
    ToyPictureGrey& treeColours() { return *treeColourPicture; }

private:
    void createStaticActors(const Ogre::Vector3& position, const Ogre::Quaternion& orientation,
                            const nxOgre::NxShapeDesc& shape);
    void stampShadow(const Ogre::Vector3& position);
    // The name of the actor of the tree planted as number (counting every tree).
    std::string actorNameFor(std::uint32_t number) const;

    std::string name;
    Ground ground;
    std::uint32_t count;
    TBounds area;
    std::vector<Ogre::Entity*> entities;  // the scene manager's, one per kind
    std::vector<const nxOgre::NxShapeDesc*> colliders;  // the subclass's, one per kind
    // The numbers in the actors' names: a race plants tens of thousands, and keeping each
    // name whole cost megabytes.
    std::vector<std::uint32_t> actorNumbers;
    std::unique_ptr<ToyPictureGrey> shadowPicture;
    std::unique_ptr<ToyPictureGrey> stampedLightmap;  // until loadLightmap
    std::unique_ptr<ToyPictureGrey> treeColourPicture;
    std::unique_ptr<OgreToyPicture> treeColourTexture;
    float shadowOffsetU = -1.0f;  // the stamp's half size in lightmap widths, once known
    float shadowOffsetV = -1.0f;
    std::uint32_t treesAdded = 0;
};
