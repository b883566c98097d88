// The race's trees and grass around the race camera: trees planted once while the race loads,
// drawn as batches near the camera and impostors farther out, with trunk colliders and their
// shadows in the terrain lightmap; grass paged in around the camera, off the track.
#pragma once

#include "VegetationPlan.h"

#include <memory>
#include <string>

namespace Ogre
{
class Camera;
}

class GameScene;
class GeometryPager;
class GrassLayer;
class GrassLoaderSR;
class MapObject;
class OgreToyPicture;
class ToyPictureRGBA;
class TreeLoader;

class VegetationManager
{
public:
    VegetationManager();
    virtual ~VegetationManager();
    VegetationManager(const VegetationManager&) = delete;
    VegetationManager& operator=(const VegetationManager&) = delete;

    // Builds what the terrain grows at the settings' densities, after the scene's terrain,
    // track and lightmap exist; the trees' shadows go into the scene's lightmap picture.
    // Engine exceptions (a missing mesh or picture, say) pass.
    void init(GameScene& scene, Ogre::Camera* camera, MapObject& track);
    // Once per frame.
    void update();

    const VegetationPlan& getPlan() const { return plan; }
    TreeLoader* getTreeLoader() const { return treeLoader.get(); }
    GeometryPager* getTreeGeometry() const { return treeGeometry.get(); }
    GeometryPager* getGrassGeometry() const { return grassGeometry.get(); }

    // The plan of the scene's race, from its terrain and the settings.
    static VegetationPlan planFor(const GameScene& scene);

private:
    void buildTrees(GameScene& scene, Ogre::Camera* camera, MapObject& track);
    void buildGrass(GameScene& scene, Ogre::Camera* camera, MapObject& track);
    // The grass's tint: with lightmaps, the terrain's grass colours in the lightmap's shade
    // (the desert's: the lightmap alone), from the cache when it has them.
    void setGrassColours(GameScene& scene, GrassLayer& layer);
    // The grass terrain's steps are logged; the desert's are not.
    void log(const std::string& text) const;

    VegetationPlan plan;
    std::unique_ptr<GeometryPager> treeGeometry;
    std::unique_ptr<TreeLoader> treeLoader;
    std::unique_ptr<GeometryPager> grassGeometry;
    std::unique_ptr<GrassLoaderSR> grassLoader;
    std::unique_ptr<ToyPictureRGBA> grassColourPicture;
    std::unique_ptr<OgreToyPicture> grassColourTexture;
};
