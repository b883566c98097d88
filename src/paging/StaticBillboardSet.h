// Billboards that never move once built: camera-facing quads of their own size, colour and
// texture cell. The accelerated method bakes them into one mesh turned by a vertex program
// (one draw per set, fading with distance possible); the compatible method, for render
// systems without vertex programs, hands them to an engine billboard set.
#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class BillboardSet;
class Camera;
class Entity;
class RenderSystemCapabilities;
class SceneManager;
class SceneNode;
}

enum SBSRenderMethod
{
    BB_METHOD_COMPATIBLE = 0,
    BB_METHOD_ACCELERATED = 1
};

// One billboard waiting for the next build of an accelerated set.
struct SBSBillboard
{
    Ogre::Vector3 centre;
    uint32_t color = 0;  // packed in the render system's vertex colour layout
    float width = 0.0f;
    float height = 0.0f;
    uint16_t texCol = 0;
    uint16_t texRow = 0;
};

class StaticBillboardSet
{
public:
    // capabilities decide whether the accelerated method can run; none means the running
    // render system's (and no render system means no vertex programs).
    StaticBillboardSet(Ogre::SceneManager* sceneMgr, SBSRenderMethod method,
                       const Ogre::RenderSystemCapabilities* capabilities = nullptr);
    ~StaticBillboardSet();
    StaticBillboardSet(const StaticBillboardSet&) = delete;
    StaticBillboardSet& operator=(const StaticBillboardSet&) = delete;

    void createBillboard(const Ogre::Vector3& centre, float width, float height,
                         const Ogre::ColourValue& color = Ogre::ColourValue::White,
                         uint16_t texCol = 0, uint16_t texRow = 0);
    // Bakes the waiting billboards into a new mesh, replacing the last one.
    void build();
    // Frees the built mesh and the waiting billboards.
    void clear();

    void setMaterial(const std::string& materialName);
    // Throws when enabled before any material is set.
    void setFade(bool enabled, float visibleDist, float invisibleDist);
    void setTextureStacksAndSlices(uint16_t stacks, uint16_t slices);
    void setVisible(bool visible);

    // Turns every accelerated set towards the camera; once per frame.
    static void updateAll(Ogre::Camera* camera);

    SBSRenderMethod getRenderMethod() const { return renderMethod; }
    bool isVisible() const { return visible; }
    bool isFadeEnabled() const { return fadeEnabled; }
    const Ogre::MaterialPtr& getMaterial() const { return material; }
    const Ogre::MaterialPtr& getFadeMaterial() const { return fadeMaterial; }
    // The built mesh and its entity; none before a build with billboards.
    const Ogre::MeshPtr& getMesh() const { return mesh; }
    Ogre::Entity* getEntity() const { return entity; }
    size_t getWaitingCount() const { return waiting.size(); }
    Ogre::BillboardSet* getCompatibleSet() const { return fallbackSet; }
    Ogre::SceneNode* getSceneNode() const { return node; }

    // The four camera-facing corner directions for a camera looking along forward (w = 0).
    static std::vector<Ogre::Vector4> cornerVectors(const Ogre::Vector3& forward);
    // Accelerated sets that use the material at the moment; 0 when none does.
    static uint32_t materialUseCount(const Ogre::MaterialPtr& material);
    static uint32_t acceleratedInstanceCount();

private:
    static std::string getUniqueID(const std::string& prefix);
    static void acquireMaterialRef(const Ogre::MaterialPtr& material);
    static void releaseMaterialRef(const Ogre::MaterialPtr& material);

    Ogre::MaterialPtr getFadeMaterial(float visibleDist, float invisibleDist);
    const Ogre::MaterialPtr& materialInUse() const { return fadeEnabled ? fadeMaterial : material; }
    void removeEntity();
    void writeVertices(float* vertices, uint32_t* colors, Ogre::AxisAlignedBox& bounds) const;

    Ogre::SceneManager* sceneMgr;  // not owned
    SBSRenderMethod renderMethod;
    bool visible = true;
    Ogre::SceneNode* node = nullptr;  // owned, destroyed through the scene manager
    Ogre::Entity* entity = nullptr;   // owned, destroyed through the scene manager
    Ogre::MeshPtr mesh;
    std::string entityName;
    Ogre::MaterialPtr material;
    Ogre::MaterialPtr fadeMaterial;
    float uFactor = 1.0f;
    float vFactor = 1.0f;
    std::vector<SBSBillboard> waiting;
    Ogre::BillboardSet* fallbackSet = nullptr;  // compatible method; owned
    bool fadeEnabled = false;
    float fadeVisibleDist = 0.0f;
    float fadeInvisibleDist = 0.0f;
};
