// Where the sun stands: the simple daily circle and the astronomical model.
#include "sky/EarthSunPositionModel.h"
#include "sky/SimpleSunPositionModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
void expectNear(const Ogre::Vector3& actual, const Ogre::Vector3& expected, const char* what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5f) << what;
}
}

TEST(SimpleSunPositionModel, TurnsOncePerDay)
{
    sky::SimpleSunPositionModel flat{Ogre::Degree(0)};
    expectNear(flat.getSunDirection(0.0f), Ogre::Vector3(0, 1, 0), "midnight: the light goes up");
    expectNear(flat.getLastDirection(), Ogre::Vector3(0, -1, 0), "towards the sun");
    expectNear(flat.getSunDirection(0.25f), Ogre::Vector3(-1, 0, 0), "a quarter turn about +z");
    expectNear(flat.getSunDirection(0.5f), Ogre::Vector3(0, -1, 0), "noon: the light comes down");

    sky::SimpleSunPositionModel tilted{Ogre::Degree(13)};
    const Ogre::Vector3 noon = tilted.getSunDirection(0.5f);
    EXPECT_NEAR(noon.length(), 1.0f, 1e-6f);
    EXPECT_NEAR(noon.y, -std::cos(Ogre::Degree(26).valueRadians()), 1e-5f) << "the circle tilts noon's sun";
}

TEST(EarthSunPositionModel, DayAndNightInTheRightQuadrants)
{
    struct Case
    {
        const char* what;
        float latitudeDegrees;
        float julianDate;
    };
    const Case cases[] = {
        {"mid-latitude midsummer", 48.0f, 0.47f},
        {"mid-latitude midwinter", 48.0f, 0.97f},
        {"the equator at the equinox", 0.0f, 0.22f},
        {"southern latitude", -33.0f, 0.1f},
    };
    for (const Case& c : cases)
    {
        sky::EarthSunPositionModel earth(Ogre::Degree(c.latitudeDegrees), c.julianDate);
        EXPECT_LT(earth.getSunDirection(0.5f).y, 0.0f) << c.what << ": the sun is up at noon";
        EXPECT_GT(earth.getSunDirection(0.0f).y, 0.0f) << c.what << ": and down at midnight";
        // Morning and afternoon mirror each other about noon's meridian.
        const Ogre::Vector3 morning = earth.getSunDirection(0.375f);
        const Ogre::Vector3 afternoon = earth.getSunDirection(0.625f);
        EXPECT_NEAR(morning.x, -afternoon.x, 1e-4f) << c.what;
        EXPECT_NEAR(morning.y, afternoon.y, 1e-4f) << c.what;
        EXPECT_GT(std::fabs(morning.x), 0.1f) << c.what << ": the sun moves across the sky";
    }
}

TEST(EarthSunPositionModel, NeverNaNAtThePolesAndSilent)
{
    struct Sample
    {
        float latitude;
        int step;
        Ogre::Vector3 direction;
    };
    std::vector<Sample> samples;
    // Called every sky update: nothing may reach the player's terminal.
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (float latitude : {-90.0f, -89.9f, 0.0f, 89.9f, 90.0f})
        for (int step = 0; step <= 96; ++step)
        {
            sky::EarthSunPositionModel earth(Ogre::Degree(latitude), step / 96.0f);
            samples.push_back({latitude, step, earth.getSunDirection(step / 96.0f)});
        }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (const Sample& s : samples)
    {
        ASSERT_TRUE(std::isfinite(s.direction.x) && std::isfinite(s.direction.y) && std::isfinite(s.direction.z))
            << s.latitude << " " << s.step;
        ASSERT_NEAR(s.direction.length(), 1.0f, 1e-4f) << s.latitude << " " << s.step;
    }
}
