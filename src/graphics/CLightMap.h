// A light-and-shadow map baked for one sub-entity: every texel is mapped through the
// sub-mesh's last UV set back onto its triangle and a ray towards the light decides lit
// (255) or shadowed (100); gaps are filled from covered neighbours and the map is blurred.
// The map is its texture's manual loader, gets a lightmapped material clone, and is
// exchanged with grey pictures for the disk caches.
#pragma once

#include "graphics/LightMapBakeParameters.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreResource.h>
#include <OGRE/OgreTexture.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace cimg_library
{
template <typename T>
struct CImg;
}
namespace Ogre
{
class SubEntity;
}
class LightRayCaster;
class PhysicBase;
class ToyPicture;
class ToyPictureFloatGrey;
class ToyPictureGrey;

class CLightMap : public Ogre::ManualResourceLoader
{
public:
    using Raster = cimg_library::CImg<unsigned char>;
    using Offset = std::pair<int, int>;

    static constexpr std::uint8_t kLit = 255;
    static constexpr std::uint8_t kShadowed = 100;

    // Rays go through the physics scene. Nothing is baked yet. Without parameters the map
    // takes the class-wide settings of the moment.
    CLightMap(PhysicBase* physics, Ogre::SubEntity* subEntity, int size, bool blankMaterial,
              const LightMapBakeParameters& parameters = defaultParameters());
    // The same, then bakes at once; a texelsPerUnit of 0 keeps the given size. isBaked tells
    // whether the bake worked.
    CLightMap(PhysicBase* physics, Ogre::SubEntity* subEntity, float texelsPerUnit, int size, bool blankMaterial,
              const LightMapBakeParameters& parameters = defaultParameters());
    // Rays go through the given caster (borrowed), for fake scenes.
    CLightMap(LightRayCaster* rays, Ogre::SubEntity* subEntity, int size, bool blankMaterial,
              const LightMapBakeParameters& parameters = defaultParameters());
    // The texture and material stay registered under the map's name.
    ~CLightMap() override;
    CLightMap(const CLightMap&) = delete;
    CLightMap& operator=(const CLightMap&) = delete;

    // The bake. False, logged, when the sub-mesh has no UVs, no positions or normals, the
    // size is 0 or there is nothing to cast rays through; the map is left as it was.
    bool compute();
    bool isBaked() const { return baked; }
    // Creates the raster, the texture (when a render system runs) and, with record-hits on,
    // the hit picture, when they don't exist yet.
    void createTexture();
    // Creates the lightmapped material once and gives it to the sub-entity. Does nothing,
    // logged, for a map with no texture and no size to make one.
    void createMaterial();
    // Lets go of the sub-entity, whose mesh may then go: the map keeps its texture and
    // material, and bakes nothing more.
    void releaseSurface() { subEntity = nullptr; }
    // Adopts a loaded texture (a cached map) instead of baking.
    void setTexture(const Ogre::TexturePtr& cached);
    // The light values into the picture (resized to size × size); false without a raster.
    bool saveToPicture(ToyPictureGrey* picture) const;
    bool copyToPicture(ToyPicture* picture) const;
    // The picture, resampled to size × size, into the light values.
    bool loadFromPicture(ToyPictureGrey* picture);
    // The engine's callback: the raster's light values into the texture.
    void loadResource(Ogre::Resource* resource) override;

    std::string getName() const { return name; }
    const LightMapBakeParameters& getParameters() const { return parameters; }
    int getSize() const { return size; }
    int getUvSet() const { return uvSet; }
    ToyPictureFloatGrey* getHitPicture() const { return hitPicture.get(); }
    const Ogre::TexturePtr& getTexture() const { return texture; }
    // The lightmapped material; null until made.
    const Ogre::MaterialPtr& getMaterial() const { return material; }
    // Channel 0 light, channel 1 coverage; null until created.
    const std::shared_ptr<Raster>& getRaster() const { return raster; }
    // Raster texels; 0 without a raster.
    std::uint8_t lightAt(int x, int y) const;
    bool isCovered(int x, int y) const;

    // Class-wide settings for the maps made from now on without parameters of their own.
    static void setLightDirection(const Ogre::Vector3& direction) { defaultLightDirection = direction; }
    static void setSurfaceOffset(const float& offset) { defaultSurfaceOffset = offset; }
    static void setRecordHits(bool on) { defaultRecordHits = on; }
    // What a map made now without parameters takes: the class-wide settings and the
    // default filtering.
    static LightMapBakeParameters defaultParameters();
    static void resetNameCounter() { nameCounter = 0; }
    // The gap fill's neighbours, nearest first.
    static const std::vector<Offset>& getOffsetTable();

    // Steps of the bake, public so that tests can drive them one at a time.
    void rasteriseTriangle(const Ogre::Vector3 positions[3], const Ogre::Vector3 normals[3],
                           const Ogre::Vector2 uvs[3]);
    void fillGaps();
    std::uint8_t isShadowed(const Ogre::Vector3& point, const Ogre::Vector3& normal);
    static Ogre::Vector3 barycentric(const Ogre::Vector2& a, const Ogre::Vector2& b, const Ogre::Vector2& c,
                                     const Ogre::Vector2& point);
    static float triangleArea(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c);
    // The smallest power of two at least √area × texelsPerUnit (1 for an empty mesh).
    static int sizeForArea(float totalArea, float texelsPerUnit);
    int uvToPixel(float t) const;
    float pixelToUv(int pixel) const;

private:
    struct MeshCopy;

    void construct(Ogre::SubEntity* subEntity, int size, bool blankMaterial, const LightMapBakeParameters& parameters);
    int findLightmapUvSet() const;
    bool readMesh(MeshCopy& mesh) const;
    void finishRaster();
    static std::vector<Offset> buildOffsetTable();
    static bool closerOffset(const Offset& a, const Offset& b);

    LightMapBakeParameters parameters;
    Ogre::TexturePtr texture;
    Ogre::MaterialPtr material;
    Ogre::SubEntity* subEntity = nullptr;
    std::shared_ptr<Raster> raster;
    std::string name;
    int size = 0;
    int uvSet = 0;
    float texelsPerUnit = 0.0f;
    bool blankMaterial = false;
    float hitValue = 0.0f;
    std::unique_ptr<LightRayCaster> ownRays;  // made for a PhysicBase
    LightRayCaster* rays = nullptr;
    std::unique_ptr<ToyPictureFloatGrey> hitPicture;
    bool baked = false;

    static std::uint32_t nameCounter;
    static Ogre::Vector3 defaultLightDirection;  // not normalised
    static float defaultSurfaceOffset;           // world units
    static bool defaultRecordHits;
};
