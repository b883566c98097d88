// A car that has run wide onto the terrain beside the road drives back onto it under
// throttle: the road's edge, its kerbs and the terrain under its border must not stop it,
// on every built-in track.
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "platform/physics/scene.h"
#include "track/TerrainObject.h"
#include "track/TrackSpline.h"

#include "support/BuiltInTracks.h"
#include "support/CarScene.h"
#include "support/OfflineEngine.h"
#include "support/TrackDriveScene.h"

#include <OGRE/OgreSceneNode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr float kBeside = 17.0f;      // units from the path: the car's nearest corner a unit off the verge
constexpr float kOnRoad = 9.0f;       // units from the path: over the asphalt
constexpr float kAlongEvery = 10.0f;  // units between the places tried
constexpr int kPlaces = 8;            // per track, spread along it
constexpr float kStraightAhead = 35.0f;  // units of straight road the car is aimed at
constexpr float kMostBend = 4.0f;     // degrees over that stretch
constexpr float kMostRaised = 1.0f;   // units of road above the terrain: a hump's sides are a bank
// Units the terrain may rise on the way to the road: up a grass bank the terrain's low grip
// lets a car at full throttle creep, which is the terrain's doing, not the road's edge.
constexpr float kMostRise = 1.5f;
constexpr float kSettle = 1.0f;       // seconds on its wheels before the throttle
constexpr float kWithin = 10.0f;      // seconds to get back, from standing on the terrain's low grip
constexpr int kFewestPlaces = 4;

Ogre::Vector2 ground(const Ogre::Vector3& v)
{
    return Ogre::Vector2(v.x, v.z);
}

float distanceToPath(const TrackSpline& spline, const Ogre::Vector2& at)
{
    float nearest = 1e9f;
    for (float along = 0.0f; along <= spline.getLength(); along += 0.5f)
        nearest = std::min(nearest, at.distance(ground(spline.getPointAt(along))));
    return nearest;
}

Ogre::Vector2 direction(const TrackSpline& spline, float along)
{
    return (ground(spline.getPointAt(along + 1.0f)) - ground(spline.getPointAt(along - 1.0f))).normalisedCopy();
}

struct Place
{
    float along;         // units along the path beside which the car stands
    float side;          // 1 left of the driving direction, -1 right
    float angleDegrees;  // towards the road
    Ogre::Vector2 at;
    Ogre::Quaternion turn;
};

class BesideTheRoad
{
public:
    explicit BesideTheRoad(TrackDriveScene& race)
        : race(race), spline(*race.track().getTrackSpline()), terrain(*race.scene().getTerrainObject())
    {
    }

    // Places beside level, straight road with nothing but terrain between the car and it,
    // spread along the track, on alternating sides at 20 and 30 degrees.
    std::vector<Place> places()
    {
        race.scene().getPhysicBase()->setPaging(false);  // the rays see every shape
        std::vector<Place> found;
        float side = 1.0f;
        const float apart = spline.getLength() / kPlaces;
        for (float along = kAlongEvery; along + kStraightAhead < spline.getLength(); along += kAlongEvery)
        {
            if (!found.empty() && along - found.back().along < apart)
                continue;
            if (!straightAndLevel(along))
                continue;
            const float angle = found.size() % 2 ? 30.0f : 20.0f;
            for (float trySide : {side, -side})
            {
                const Place place = placeAt(along, trySide, angle);
                if (distanceToPath(spline, place.at) > kBeside - 0.5f && onTerrain(place.at) && !belowABank(place))
                {
                    found.push_back(place);
                    side = -trySide;
                    break;
                }
            }
        }
        race.scene().getPhysicBase()->setPaging(true);
        return found;
    }

private:
    Place placeAt(float along, float side, float angleDegrees) const
    {
        const Ogre::Vector2 forward = direction(spline, along);
        const Ogre::Vector2 left(forward.y, -forward.x);
        const float angle = Ogre::Math::DegreesToRadians(angleDegrees);
        const Ogre::Vector2 heading = forward * std::cos(angle) - left * side * std::sin(angle);
        // The car's forward is +x: a turn about +y from +x towards -z.
        const Ogre::Quaternion turn(Ogre::Radian(std::atan2(-heading.y, heading.x)), Ogre::Vector3::UNIT_Y);
        return {along, side, angleDegrees, ground(spline.getPointAt(along)) + left * side * kBeside, turn};
    }

    bool straightAndLevel(float along) const
    {
        const Ogre::Vector2 first = direction(spline, along);
        for (float ahead = 0.0f; ahead <= kStraightAhead; ahead += 2.0f)
        {
            const float cosine = std::clamp(first.dotProduct(direction(spline, along + ahead)), -1.0f, 1.0f);
            if (Ogre::Math::RadiansToDegrees(std::acos(cosine)) > kMostBend)
                return false;
            const Ogre::Vector2 centre = ground(spline.getPointAt(along + ahead));
            if (surfaceHeight(centre) - terrain.getHeight(centre) > kMostRaised)
                return false;
        }
        return true;
    }

    bool belowABank(const Place& place) const
    {
        const Ogre::Vector3 heading = place.turn * Ogre::Vector3::UNIT_X;
        const float toRoad = (kBeside - kOnRoad) / std::sin(Ogre::Math::DegreesToRadians(place.angleDegrees));
        const Ogre::Vector2 reached = place.at + Ogre::Vector2(heading.x, heading.z) * toRoad;
        return terrain.getHeight(reached) - terrain.getHeight(place.at) > kMostRise;
    }

    float surfaceHeight(const Ogre::Vector2& at) const
    {
        nxOgre::NxRay ray;
        ray.orig = btVector3(at.x, 10000.0f, at.y);
        nxOgre::NxRaycastHit hit;
        if (!race.scene().getPhysicScene()->raycastClosestShape(ray, nxOgre::NX_STATIC_SHAPES, hit))
            return -1e9f;
        return hit.worldImpact.y();
    }

    // Within a few centimetres of the terrain: no tile and no other shape there.
    bool onTerrain(const Ogre::Vector2& at) const
    {
        return std::fabs(surfaceHeight(at) - terrain.getHeight(at)) < 0.1f;
    }

    TrackDriveScene& race;
    const TrackSpline& spline;
    const TerrainObject& terrain;
};
}

class BackOnTheRoadTest : public ::testing::TestWithParam<const char*>
{
};

TEST_P(BackOnTheRoadTest, FromTheTerrainBesideTheRoadTheThrottleBringsTheCarBack)
{
    OfflineEngine::loadImageCodecs();
    TrackDriveScene race(GetParam());
    const TrackSpline& spline = *race.track().getTrackSpline();
    const std::vector<Place> places = BesideTheRoad(race).places();
    ASSERT_GE(places.size(), static_cast<size_t>(kFewestPlaces)) << "too few places beside a straight road";

    const auto desc = CarScene::roadster();
    auto car = race.makeCarAtStart(*desc);
    car->setStopped(true);
    car->setStopped(false);  // the automatic gearbox, as after the countdown
    float slowest = 0.0f;
    for (const Place& place : places)
    {
        SCOPED_TRACE(testing::Message() << place.along << " units along, " << (place.side > 0 ? "left" : "right")
                                        << " of the road at " << place.angleDegrees << " degrees");
        car->setPose(Ogre::Vector3(place.at.x, 0.0f, place.at.y), place.turn);
        for (float t = 0.0f; t < kSettle; t += TrackDriveScene::kStep)
            race.step(*car);
        float time = 0.0f, nearest = kBeside;
        while (time < kWithin && nearest > kOnRoad)
        {
            car->setThrottle(1.0f);
            race.step(*car);
            time += TrackDriveScene::kStep;
            nearest = std::min(nearest, distanceToPath(spline, ground(car->getNode()->_getDerivedPosition())));
        }
        slowest = std::max(slowest, time);
        EXPECT_LE(nearest, kOnRoad) << "still " << nearest << " units from the path after " << kWithin
                                    << " s, at " << car->getSpeedKmh() << " km/h, wheels at " << car->getWheelSpeed()
                                    << " km/h";
    }
    std::cout << GetParam() << ": " << places.size() << " places beside the road, the slowest back in " << slowest
              << " s\n";
    car.reset();
}

INSTANTIATE_TEST_SUITE_P(BuiltInTracks, BackOnTheRoadTest, ::testing::ValuesIn(BuiltInTracks::kFiles),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return BuiltInTracks::testName(info.param);
                         });
