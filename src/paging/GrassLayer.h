// One kind of grass of a grass loader: its material, blade sizes and density, the maps that
// place and tint it, and the vertex program variant that fades and sways it.
#pragma once

#include "paging/GrassTechniques.h"
#include "paging/MapChannel.h"
#include "paging/TBounds.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreTexture.h>

#include <string>

class ColorMap;
class DensityMap;
class GeometryPager;
class GrassLoader;

class GrassLayer
{
public:
    GrassLayer(const GrassLayer&) = delete;
    GrassLayer& operator=(const GrassLayer&) = delete;
    // Releases the maps; the material variant stays, shared by name with other layers.
    ~GrassLayer();

    // The material must exist; an unknown name throws and leaves the layer as it was.
    void setMaterialName(const std::string& name);
    void setDensity(float density) { this->density = density; }
    void setMinimumSize(float width, float height);
    void setMaximumSize(float width, float height);
    void setRenderTechnique(GrassTechnique technique, bool blendBase = false);
    void setFadeTechnique(FadeTechnique technique);
    void setAnimationEnabled(bool enabled);
    void setSwayLength(float length) { animMag = length; }
    void setSwaySpeed(float speed) { animSpeed = speed; }
    void setSwayDistribution(float distribution) { animFreq = distribution; }
    // Blades grow only where the ground height lies in [low, high]; 0 leaves a side open.
    void setHeightRange(float low, float high);

    // An empty name, or a null texture, takes the map away.
    void setDensityMap(const std::string& textureName, MapChannel channel = CHANNEL_COLOR);
    void setDensityMap(const Ogre::TexturePtr& texture, MapChannel channel = CHANNEL_COLOR);
    void setColorMap(const std::string& textureName, MapChannel channel = CHANNEL_COLOR);
    void setColorMap(const Ogre::TexturePtr& texture, MapChannel channel = CHANNEL_COLOR);
    void setDensityMapFilter(MapFilter filter);
    void setColorMapFilter(MapFilter filter);
    void setMapBounds(const TBounds& bounds);

    // The material the blades are drawn with, a variant of the named one once built.
    const Ogre::MaterialPtr& getMaterial() const { return material; }
    float getDensity() const { return density; }
    float getMinWidth() const { return minWidth; }
    float getMaxWidth() const { return maxWidth; }
    float getMinHeight() const { return minHeight; }
    float getMaxHeight() const { return maxHeight; }
    float getMinGroundHeight() const { return minY; }
    float getMaxGroundHeight() const { return maxY; }
    GrassTechnique getRenderTechnique() const { return renderTechnique; }
    FadeTechnique getFadeTechnique() const { return fadeTechnique; }
    bool isAnimationEnabled() const { return animate; }
    bool isBlendEnabled() const { return blend; }
    bool isShaderDirty() const { return shaderNeedsUpdate; }
    float getSwayLength() const { return animMag; }
    float getSwaySpeed() const { return animSpeed; }
    float getSwayDistribution() const { return animFreq; }
    float getWavePhase() const { return waveCount; }
    const TBounds& getMapBounds() const { return mapBounds; }
    DensityMap* getDensityMap() const { return densityMap; }
    ColorMap* getColorMap() const { return colorMap; }
    MapFilter getDensityMapFilter() const { return densityMapFilter; }
    MapFilter getColorMapFilter() const { return colorMapFilter; }

    // Rebuilds the vertex program variant when a setting it depends on changed. Without
    // vertex program support the layer keeps its own material.
    void _updateShaders(bool vertexProgramsSupported);
    // The wave phase after the given seconds, kept within [0, 2 pi].
    static float advanceWavePhase(float phase, float swaySpeed, float seconds);

private:
    friend class GrassLoader;
    explicit GrassLayer(GrassLoader* parent);
    void buildProgramVariant();

    GrassLoader* parent;        // the loader that owns the layer
    GeometryPager* geom;        // the loader's geometry, not owned
    Ogre::MaterialPtr baseMaterial;  // as named by setMaterialName
    Ogre::MaterialPtr material;      // the one drawn with: the base or its program variant
    float density = 1.0f;       // blades per square world unit
    float minWidth = 1.0f, maxWidth = 1.0f;    // world units
    float minHeight = 1.0f, maxHeight = 1.0f;  // world units
    float minY = 0.0f, maxY = 0.0f;            // ground height range, 0 = open
    FadeTechnique fadeTechnique = FADETECH_ALPHA;
    GrassTechnique renderTechnique = GRASSTECH_QUAD;
    TBounds mapBounds;
    DensityMap* densityMap = nullptr;  // one shared reference
    MapFilter densityMapFilter = MAPFILTER_BILINEAR;
    ColorMap* colorMap = nullptr;      // one shared reference
    MapFilter colorMapFilter = MAPFILTER_BILINEAR;
    bool animate = false;
    bool blend = false;
    bool shaderNeedsUpdate = true;
    float animMag = 1.0f;    // sway length, world units
    float animSpeed = 1.0f;  // sway speed, half waves per second
    float animFreq = 1.0f;   // sway distribution, radians per world unit along x
    float waveCount = 0.0f;  // wave phase, radians
    bool bladeCapLogged = false;  // a page asked for more blades than a mesh holds
};
