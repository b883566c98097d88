// The race's surfaces in the physics scene: the road, the terrain, and the other names the
// road's meshes give their road. Made before the tiles, the terrain and the cars, which
// look their materials up by name; the test scenes and tools make the same.
#pragma once

namespace nxOgre
{
class scene;
}

namespace RaceMaterials
{
constexpr const char* kRoadName = "roadMaterial";
constexpr const char* kTerrainName = "terrainMaterial";
}

void createRaceMaterials(nxOgre::scene& scene);
