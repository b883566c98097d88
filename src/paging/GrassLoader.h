// The page loader of a grass pager: scatters the blades of every layer over a page, seeded by
// the page's place so that it always looks the same, builds one static mesh per layer and
// page, and sways the grass every frame.
#pragma once

#include "paging/GrassLayer.h"
#include "paging/PageLoader.h"

#include <OGRE/OgreMesh.h>
#include <OGRE/OgreTimer.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <vector>

class GeometryPager;

class GrassLoader : public PageLoader
{
public:
    using HeightFunction = std::function<float(float x, float z)>;

    explicit GrassLoader(GeometryPager* geometry);
    GrassLoader(const GrassLoader&) = delete;
    GrassLoader& operator=(const GrassLoader&) = delete;
    // Frees the meshes of pages still loaded and deletes the layers.
    ~GrassLoader() override;

    // A new layer drawn with the named material, which must exist; owned by the loader.
    GrassLayer* addLayer(const std::string& material);
    const std::list<std::unique_ptr<GrassLayer>>& getLayers() const { return layerList; }
    void setRenderQueueGroup(uint8_t queueId) { renderQueue = queueId; }
    uint8_t getRenderQueueGroup() const { return renderQueue; }
    // The ground under the grass for the default getHeightAt; none means flat at 0.
    void setHeightFunction(HeightFunction function) { heightFunction = std::move(function); }
    GeometryPager* getGeometry() const { return geom; }
    // Meshes made and not yet freed, over every loaded page.
    size_t getLiveMeshCount() const;

    void loadPage(PageInfo& page) override;
    void unloadPage(const PageInfo& page) override;
    void frameUpdate() override;

    // The ground height at a point; the default asks the height function.
    virtual float getHeightAt(float x, float z);
    // May change a blade's size at its place; the default leaves it.
    virtual void adjustGrassSize(float x, float z, float& height, float& halfWidth);

    // Most blades one page of one layer can hold: its mesh is indexed with 16 bits.
    static size_t maxBladesPerPage(GrassTechnique technique);

    // The place of a blade on the ground plane.
    struct Position
    {
        float x, z;
    };
    // The populations: up to count tries, returning the positions kept. They stop early
    // once maxBladesPerPage positions are kept.
    std::vector<Position> _populateGrassList_Uniform(const GrassLayer& layer, const TBounds& bounds,
                                                     size_t count);
    std::vector<Position> _populateGrassList_UnfilteredDM(const GrassLayer& layer,
                                                          const TBounds& bounds, size_t count);
    std::vector<Position> _populateGrassList_BilinearDM(const GrassLayer& layer,
                                                        const TBounds& bounds, size_t count);

    // The meshes of one page, relative to its centre point.
    Ogre::MeshPtr generateGrass_QUAD(const PageInfo& page, const GrassLayer& layer,
                                     const std::vector<Position>& blades);
    Ogre::MeshPtr generateGrass_CROSSQUADS(const PageInfo& page, const GrassLayer& layer,
                                           const std::vector<Position>& blades);
    Ogre::MeshPtr generateGrass_SPRITE(const PageInfo& page, const GrassLayer& layer,
                                       const std::vector<Position>& blades);

    // The seed of a page's grass, from its grid indices.
    static unsigned pageSeed(int xIndex, int zIndex);

private:
    struct PageMeshes
    {
        std::vector<Ogre::MeshPtr> meshes;  // one per layer that kept a blade
    };

    bool inHeightRange(const GrassLayer& layer, float x, float z);
    template <typename DensityAt>
    std::vector<Position> populateByDensity(const GrassLayer& layer, const TBounds& bounds,
                                            size_t count, DensityAt densityAt);
    Ogre::MeshPtr generateMesh(const PageInfo& page, const GrassLayer& layer,
                               const std::vector<Position>& blades);
    // The quads of every blade, a second one turned a right angle across it where crossed.
    Ogre::MeshPtr generateQuads(const PageInfo& page, const GrassLayer& layer,
                                const std::vector<Position>& blades, bool crossed);
    static void freeMeshes(PageMeshes& page);
    static bool vertexProgramsSupported();

    std::list<std::unique_ptr<GrassLayer>> layerList;
    GeometryPager* geom;  // not owned
    uint8_t renderQueue = 60;
    float densityFactor = 1.0f;  // multiplies every layer's density
    Ogre::Timer timer;
    Ogre::Vector3 windDir = Ogre::Vector3::UNIT_X;
    uint32_t lastTime = 0;  // milliseconds of the timer
    HeightFunction heightFunction;
    // Every loaded page's meshes; a page's user data points at its entry.
    std::list<PageMeshes> loadedPages;
    // Room for one mesh's vertices and indices, reused from page to page.
    std::vector<uint8_t> vertexScratch;
    std::vector<uint16_t> indexScratch;
};
