// Lightmap baking against a fake scene: the size rule, the rasteriser's texel ownership,
// edges and degenerate triangles, the gap fill's neighbour order, the shadow rays, naming,
// the class-wide defaults, picture exchange and the bakes that cannot work.
#include "HeadlessOgre.h"
#include "LightMapMeshes.h"
#include "graphics/CLightMap.h"
#include "graphics/LightRayCaster.h"
#include "graphics/ToyPictureFloatGrey.h"
#include "graphics/ToyPictureGrey.h"

#include <CImg.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
// Answers every ray with a rule and remembers where rays started.
class FakeRays : public LightRayCaster
{
public:
    using Rule = std::function<bool(const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length)>;
    explicit FakeRays(Rule rule = [](const Ogre::Vector3&, const Ogre::Vector3&, float) { return false; })
        : rule(std::move(rule))
    {
    }
    bool castRay(const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length,
                 Ogre::Vector3* impact) override
    {
        origins.push_back(origin);
        const bool hit = rule(origin, direction, length);
        if (hit && impact)
            *impact = origin + direction * length * 0.5f;
        return hit;
    }
    Rule rule;
    std::vector<Ogre::Vector3> origins;
};

// Whether a ray crosses the horizontal plane at height y within its length.
bool crossesHeight(const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length, float y)
{
    if (direction.y == 0.0f)
        return false;
    const float distance = (y - origin.y) / direction.y;
    return distance >= 0.0f && distance <= length;
}

class LightMapTest : public ::testing::Test
{
protected:
    void SetUp() override { HeadlessOgre::root(); }

    // Lit from straight above, rays kept 0.1 off the surface, as the tiles bake.
    static LightMapBakeParameters fromAbove()
    {
        LightMapBakeParameters parameters;
        parameters.lightDirection = Ogre::Vector3(0, -1, 0);
        parameters.surfaceOffset = 0.1f;
        parameters.recordHits = false;
        return parameters;
    }
    static LightMapBakeParameters along(const Ogre::Vector3& lightDirection)
    {
        LightMapBakeParameters parameters = fromAbove();
        parameters.lightDirection = lightDirection;
        return parameters;
    }

    // A raster of size × size with nothing behind it; rays from or to surfaces above height 5
    // say "shadow".
    std::unique_ptr<CLightMap> rasterOnly(int size)
    {
        auto map = std::make_unique<CLightMap>(&highIsShadowed, nullptr, size, false, fromAbove());
        map->createTexture();
        return map;
    }

    FakeRays highIsShadowed{[](const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length) {
        const float surfaceEnd = direction.y < 0.0f ? origin.y + direction.y * length : origin.y;
        return surfaceEnd > 5.0f;
    }};
};

const Ogre::Vector3 kUp[3] = {Ogre::Vector3::UNIT_Y, Ogre::Vector3::UNIT_Y, Ogre::Vector3::UNIT_Y};

// Positions at a height that marks the triangle: 0 bakes lit, 10 shadowed.
void rasterise(CLightMap& map, float height, Ogre::Vector2 a, Ogre::Vector2 b, Ogre::Vector2 c)
{
    const Ogre::Vector3 positions[3] = {Ogre::Vector3(0, height, 0), Ogre::Vector3(1, height, 0),
                                        Ogre::Vector3(0, height, 1)};
    const Ogre::Vector2 uvs[3] = {a, b, c};
    map.rasteriseTriangle(positions, kUp, uvs);
}

TEST_F(LightMapTest, SizeIsTheSmallestPowerOfTwoCoveringTheArea)
{
    struct Case
    {
        const char* what;
        float area, texelsPerUnit;
        int expected;
    };
    const Case cases[] = {
        {"no area", 0.0f, 5.0f, 1},
        {"s below 1", 0.01f, 5.0f, 1},
        {"s exactly 256", 65536.0f, 1.0f, 256},
        {"s = 256.1", 256.1f * 256.1f, 1.0f, 512},
        {"s = 5", 1.0f, 5.0f, 8},
        {"a 60 × 60 tile at 5 per unit", 3600.0f, 5.0f, 512},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CLightMap::sizeForArea(c.area, c.texelsPerUnit)) << c.what;
    EXPECT_FLOAT_EQ(6.0f, CLightMap::triangleArea(Ogre::Vector3(0, 0, 0), Ogre::Vector3(4, 0, 0), Ogre::Vector3(0, 3, 3)) /
                              std::sqrt(2.0f));
}

TEST_F(LightMapTest, TexelsOnASharedEdgeBelongToTheFirstTriangle)
{
    const Ogre::Vector2 o(0, 0), u(1, 0), v(0, 1), uv(1, 1);
    struct Case
    {
        const char* what;
        float firstHeight, secondHeight;  // lower-left triangle, then the upper-right one
        bool lowerFirst;
    };
    const Case cases[] = {{"lower-left first", 0.0f, 10.0f, true}, {"upper-right first", 10.0f, 0.0f, false}};
    for (const Case& c : cases)
    {
        auto map = rasterOnly(8);
        if (c.lowerFirst)
        {
            rasterise(*map, c.firstHeight, o, u, v);
            rasterise(*map, c.secondHeight, u, uv, v);
        }
        else
        {
            rasterise(*map, c.firstHeight, u, uv, v);
            rasterise(*map, c.secondHeight, o, u, v);
        }
        for (int x = 0; x < 8; ++x)
        {
            for (int y = 0; y < 8; ++y)
            {
                ASSERT_TRUE(map->isCovered(x, y)) << c.what;
                // Centres with x + y = 7 lie on the diagonal: the first triangle has them.
                const bool lowerLeft = x + y < 7 || (x + y == 7 && c.lowerFirst);
                const bool lit = lowerLeft == c.lowerFirst ? c.firstHeight == 0.0f : c.secondHeight == 0.0f;
                EXPECT_EQ(lit ? CLightMap::kLit : CLightMap::kShadowed, map->lightAt(x, y))
                    << c.what << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(LightMapTest, TrianglesCoverOnlyTexelsWhoseCentresTheyHold)
{
    struct Case
    {
        const char* what;
        Ogre::Vector2 a, b, c;
        int coveredTexels;
    };
    const Case cases[] = {
        {"degenerate in UV space (a line)", {0, 0}, {0.5f, 0.5f}, {1, 1}, 0},
        {"degenerate in UV space (a point)", {0.3f, 0.3f}, {0.3f, 0.3f}, {0.3f, 0.3f}, 0},
        {"wholly outside the unit square", {1.5f, 1.5f}, {3, 1.5f}, {1.5f, 3}, 0},
        {"half a texel wide, holding no centre", {0.01f, 0.01f}, {0.06f, 0.01f}, {0.01f, 0.06f}, 0},
        {"one texel's centre", {0.0f, 0.0f}, {0.25f, 0.0f}, {0.0f, 0.25f}, 1},
        {"past the border: clamped box, centres inside only", {0.5f, -1.0f}, {2.0f, -1.0f}, {0.5f, 0.5f}, 3},
    };
    for (const Case& c : cases)
    {
        auto map = rasterOnly(4);
        rasterise(*map, 0.0f, c.a, c.b, c.c);
        int covered = 0;
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 4; ++y)
                covered += map->isCovered(x, y) ? 1 : 0;
        EXPECT_EQ(c.coveredTexels, covered) << c.what;
    }
}

TEST_F(LightMapTest, DegenerateTriangleLeavesItsTexelsToALaterOne)
{
    auto map = rasterOnly(4);
    rasterise(*map, 10.0f, Ogre::Vector2(0, 0), Ogre::Vector2(1, 1), Ogre::Vector2(0.5f, 0.5f));
    rasterise(*map, 0.0f, Ogre::Vector2(0, 0), Ogre::Vector2(1, 0), Ogre::Vector2(0, 1));
    EXPECT_TRUE(map->isCovered(0, 0));
    EXPECT_EQ(CLightMap::kLit, map->lightAt(0, 0));
    EXPECT_EQ(CLightMap::kLit, map->lightAt(1, 1));
}

TEST_F(LightMapTest, GapTakesTheFirstCoveredNeighbourInTableOrder)
{
    struct Covered
    {
        int dx, dy;
        std::uint8_t light;
    };
    struct Case
    {
        const char* what;
        std::vector<Covered> covered;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {"above before below, right and left", {{0, -1, 10}, {0, 1, 20}, {1, 0, 30}, {-1, 0, 40}}, 10},
        {"below before right and left", {{0, 1, 20}, {1, 0, 30}, {-1, 0, 40}}, 20},
        {"right before left", {{-1, 0, 40}, {1, 0, 30}}, 30},
        {"a side before a corner", {{1, -1, 50}, {-1, 0, 40}}, 40},
        {"corners: up-right first", {{-1, 1, 70}, {1, 1, 60}, {1, -1, 50}}, 50},
        {"ring 4: (0, 2) before (0, -2)", {{0, -2, 80}, {0, 2, 90}}, 90},
        {"ring 5 starts at (-1, -2)", {{2, 1, 11}, {-1, -2, 12}, {1, -2, 13}}, 12},
        {"the far corner (5, 5) still counts", {{5, 5, 33}}, 33},
        {"nothing within 5 texels", {{6, 0, 44}}, 0},
    };
    for (const Case& c : cases)
    {
        auto map = rasterOnly(16);
        CLightMap::Raster& raster = *map->getRaster();
        const int x = 5, y = 5;
        for (const Covered& covered : c.covered)
        {
            raster(x + covered.dx, y + covered.dy, 0, 0) = covered.light;
            raster(x + covered.dx, y + covered.dy, 0, 1) = 1;
        }
        map->fillGaps();
        EXPECT_EQ(c.expected, map->lightAt(x, y)) << c.what;
    }
}

TEST_F(LightMapTest, FilledGapsAreNeverSources)
{
    auto map = rasterOnly(16);
    CLightMap::Raster& raster = *map->getRaster();
    raster(0, 0, 0, 0) = 77;
    raster(0, 0, 0, 1) = 1;
    map->fillGaps();
    EXPECT_EQ(77, map->lightAt(5, 5));
    EXPECT_EQ(0, map->lightAt(6, 0));  // only 6 away from the covered texel, through filled ones
    EXPECT_FALSE(map->isCovered(1, 0));
}

TEST_F(LightMapTest, RaysNeverStartOnTheSurfaceAndGrazingRaysAreLifted)
{
    // A scene that also reports the surface itself whenever a ray starts on or below it.
    FakeRays surfaceAndRoof([](const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length) {
        return origin.y <= 0.0f || crossesHeight(origin, direction, length, 150.0f);
    });
    CLightMap map(&surfaceAndRoof, nullptr, 4, false, fromAbove());
    surfaceAndRoof.rule = [](const Ogre::Vector3& origin, const Ogre::Vector3&, float) { return origin.y <= 0.0f; };
    EXPECT_EQ(CLightMap::kLit, map.isShadowed(Ogre::Vector3(3, 0, 3), Ogre::Vector3::UNIT_Y));
    for (const Ogre::Vector3& origin : surfaceAndRoof.origins)
        EXPECT_GT(origin.y, 0.0f);

    // A roof 150 units up: beyond the first ray's reach, found by the ray from the surface.
    surfaceAndRoof.rule = [](const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length) {
        return crossesHeight(origin, direction, length, 150.0f);
    };
    EXPECT_EQ(CLightMap::kShadowed, map.isShadowed(Ogre::Vector3(3, 0, 3), Ogre::Vector3::UNIT_Y));

    // Light along the surface of a wall facing +x: rays leave 5 × 0.1 out along the normal.
    CLightMap alongWall(&surfaceAndRoof, nullptr, 4, false, along(Ogre::Vector3(0, 0, 1)));
    surfaceAndRoof.origins.clear();
    surfaceAndRoof.rule = [](const Ogre::Vector3& origin, const Ogre::Vector3&, float) { return origin.x <= 0.0f; };
    EXPECT_EQ(CLightMap::kLit, alongWall.isShadowed(Ogre::Vector3(0, 2, 0), Ogre::Vector3::UNIT_X));
    ASSERT_FALSE(surfaceAndRoof.origins.empty());
    EXPECT_FLOAT_EQ(0.5f, surfaceAndRoof.origins.back().x);
    // Just outside the grazing band (|L·N| = 0.2 = 2 × offset): no lift.
    CLightMap pastBand(&surfaceAndRoof, nullptr, 4, false, along(Ogre::Vector3(0.2f, 0, -std::sqrt(0.96f))));
    EXPECT_EQ(CLightMap::kShadowed, pastBand.isShadowed(Ogre::Vector3(0, 2, 0), Ogre::Vector3::UNIT_X));
}

TEST_F(LightMapTest, RecordedHitsHoldTheHeightOfTheFirstRaysHit)
{
    LightMapBakeParameters recording = fromAbove();
    recording.recordHits = true;
    FakeRays roofAt30([](const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length) {
        return crossesHeight(origin, direction, length, 30.0f);
    });
    auto map = std::make_unique<CLightMap>(&roofAt30, nullptr, 4, false, recording);
    map->createTexture();
    ASSERT_NE(nullptr, map->getHitPicture());
    rasterise(*map, 0.0f, Ogre::Vector2(0, 0), Ogre::Vector2(1, 0), Ogre::Vector2(0, 1));
    EXPECT_EQ(CLightMap::kShadowed, map->lightAt(0, 0));
    // The fake puts the impact halfway along the first ray: from 100 up down to 0.1.
    EXPECT_NEAR((100.0f + 0.1f) / 2.0f, map->getHitPicture()->getColour(0, 0).getGrey(), 1e-3f);
    EXPECT_EQ(0.0f, map->getHitPicture()->getColour(3, 3).getGrey());  // not covered
}

TEST_F(LightMapTest, MapsAreNamedByACountShared)
{
    CLightMap::resetNameCounter();
    FakeRays rays;
    CLightMap first(&rays, nullptr, 4, false);
    CLightMap second(&rays, nullptr, 4, false);
    EXPECT_EQ("LightMap0", first.getName());
    EXPECT_EQ("LightMap1", second.getName());
}

TEST_F(LightMapTest, MapMadeWithoutParametersKeepsTheClassWideSettingsOfItsMaking)
{
    const LightMapBakeParameters before = CLightMap::defaultParameters();
    CLightMap::setLightDirection(Ogre::Vector3(2, 0, 0));
    CLightMap::setSurfaceOffset(0.25f);
    CLightMap::setRecordHits(true);
    FakeRays rays;
    CLightMap made(&rays, nullptr, 4, false);
    CLightMap::setLightDirection(before.lightDirection);
    CLightMap::setSurfaceOffset(before.surfaceOffset);
    CLightMap::setRecordHits(before.recordHits);

    EXPECT_EQ(Ogre::Vector3(2, 0, 0), made.getParameters().lightDirection) << "stored as given, not normalised";
    EXPECT_TRUE(made.getParameters().recordHits);
    EXPECT_EQ(LightMapBakeParameters().anisotropy, made.getParameters().anisotropy);
    // Its rays still follow them: light along the ground grazes it, so the first ray starts
    // 100 back towards the light and 5 × 0.25 up.
    made.isShadowed(Ogre::Vector3::ZERO, Ogre::Vector3::UNIT_Y);
    ASSERT_FALSE(rays.origins.empty());
    EXPECT_FLOAT_EQ(-100.0f, rays.origins.front().x);
    EXPECT_FLOAT_EQ(1.25f, rays.origins.front().y);
}

TEST_F(LightMapTest, PicturesGoInAndOutByteForByteAndAreResampled)
{
    auto map = rasterOnly(8);
    CLightMap::Raster& raster = *map->getRaster();
    raster(3, 2, 0, 0) = 123;
    raster(3, 2, 0, 1) = 1;
    ToyPictureGrey out(1, 1);
    ASSERT_TRUE(map->saveToPicture(&out));
    ASSERT_EQ(8u, out.getWidth());
    EXPECT_EQ(123, out.getGreyData()[3 + 2 * 8]);

    ToyPictureGrey half(4, 4);
    half.clear(200);
    ASSERT_TRUE(map->loadFromPicture(&half));
    EXPECT_EQ(8u, half.getWidth());  // the caller's picture is resampled to the map
    EXPECT_EQ(200, map->lightAt(3, 2));
    EXPECT_EQ(200, map->lightAt(7, 7));
    EXPECT_TRUE(map->isCovered(3, 2));  // coverage keeps what it had
    EXPECT_FALSE(map->isCovered(0, 0));
}

TEST_F(LightMapTest, BakesThatCannotWorkSayNoAndLeaveNoSizeZeroMap)
{
    LightMapMeshes meshes;
    FakeRays rays;
    Ogre::Entity* withoutUvs = meshes.groundEntity("NoUvGround", 0);
    CLightMap noUvs(&rays, withoutUvs->getSubEntity(0), 0, false, fromAbove());
    EXPECT_FALSE(noUvs.compute());
    EXPECT_EQ(-1, noUvs.getUvSet());
    EXPECT_EQ(0, noUvs.getSize());
    EXPECT_EQ(nullptr, noUvs.getRaster());
    noUvs.createMaterial();  // no texture of size 0: nothing happens
    EXPECT_EQ(nullptr, noUvs.getTexture());
    ToyPictureGrey picture(2, 2);
    EXPECT_FALSE(noUvs.saveToPicture(&picture));

    Ogre::Entity* ground = meshes.groundEntity("NoRaysGround", 2);
    CLightMap noScene(static_cast<PhysicBase*>(nullptr), ground->getSubEntity(0), 5.0f, 0, false, fromAbove());
    EXPECT_FALSE(noScene.isBaked());
    EXPECT_EQ(0, noScene.getSize());
}

TEST_F(LightMapTest, BakeUsesTheLastUvSetAndKeepsAGivenSize)
{
    LightMapMeshes meshes;
    FakeRays rays;
    Ogre::Entity* ground = meshes.groundEntity("TwoUvGround", 2);
    CLightMap map(&rays, ground->getSubEntity(0), 16, false, fromAbove());
    ASSERT_TRUE(map.compute());
    EXPECT_EQ(1, map.getUvSet());
    EXPECT_EQ(16, map.getSize());
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            ASSERT_EQ(CLightMap::kLit, map.lightAt(x, y)) << x << "," << y;
}
}
