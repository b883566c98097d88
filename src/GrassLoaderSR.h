// The race's grass loader: blades stand on the terrain and shrink to nothing on and near the
// track, by the track's coverage mask.
#pragma once

#include "paging/GrassLoader.h"

class MapObject;
class TerrainObject;

class GrassLoaderSR : public GrassLoader
{
public:
    using GrassLoader::GrassLoader;

    // Both borrowed and optional: without a terrain the ground is flat at 0, without a track
    // no blade shrinks.
    void setTerrainObject(const TerrainObject* terrainObject) { terrain = terrainObject; }
    void setMapObject(const MapObject* mapObject) { track = mapObject; }

    float getHeightAt(float x, float z) override;
    void adjustGrassSize(float x, float z, float& height, float& halfWidth) override;

    // What a blade's size is multiplied by at a coverage of 0 (free ground) to 255 (track):
    // 1 on free ground, 0 from 255 / 1.6 up.
    static float sizeFactor(float coverage);

private:
    const TerrainObject* terrain = nullptr;
    const MapObject* track = nullptr;
};
