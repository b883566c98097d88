// The race's physics materials and the road's aliases.
#include "physic/RaceMaterials.h"

#include "platform/physics/scene.h"

namespace
{
// Friction both static and dynamic; the wheels scale their grip along the road by it.
constexpr float kRoadFriction = 0.6f;
constexpr float kRoadBounce = 0.1f;
constexpr float kTerrainFriction = 0.2f;
constexpr float kTerrainBounce = 0.0f;
// Sub-mesh names of road meshes that mean the road.
constexpr const char* kRoadAliases[] = {"road1_blinn1", "StartPointRoad", "StartFinishRoad", "StartPoint",
                                        "StartFinish"};
}

void createRaceMaterials(nxOgre::scene& scene)
{
    scene.createMaterial(RaceMaterials::kTerrainName, kTerrainBounce, kTerrainFriction, kTerrainFriction);
    nxOgre::material* road = scene.createMaterial(RaceMaterials::kRoadName, kRoadBounce, kRoadFriction, kRoadFriction);
    for (const char* alias : kRoadAliases)
        scene.createMaterialAlias(alias, road);
}
