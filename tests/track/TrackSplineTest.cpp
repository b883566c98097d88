// The track spline: point clean-up, length and the point at a distance.
#include "track/TrackSpline.h"

#include <gtest/gtest.h>

namespace
{
std::vector<Ogre::Vector4> path(std::initializer_list<Ogre::Vector3> points)
{
    std::vector<Ogre::Vector4> result;
    for (const auto& p : points)
        result.emplace_back(p.x, p.y, p.z, 0.5f);
    return result;
}
}

TEST(TrackSpline, DropsRepeatedConsecutivePoints)
{
    TrackSpline spline;
    spline.build(path({{5, 0, 0}, {10, 0, 0}, {10, 0, 0}, {20, 0, 0}}));
    ASSERT_EQ(spline.getCurve().getNumPoints(), 3u);
    EXPECT_EQ(spline.getCurve().getPoint(0), Ogre::Vector3(5, 0, 0));
    EXPECT_EQ(spline.getCurve().getPoint(1), Ogre::Vector3(10, 0, 0));
}

TEST(TrackSpline, MeasuresAndSamplesAStraightCurve)
{
    TrackSpline spline;
    spline.build(path({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}));
    EXPECT_NEAR(spline.getLength(), 20.0f, 1e-3f);
    struct Case
    {
        float distance;
        Ogre::Vector3 expected;
    };
    const Case cases[] = {{0, {0, 0, 0}}, {10, {10, 0, 0}}, {20, {20, 0, 0}}, {25, {20, 0, 0}}, {-3, {0, 0, 0}}};
    for (const auto& c : cases)
    {
        const Ogre::Vector3 point = spline.getPointAt(c.distance);
        EXPECT_NEAR(point.distance(c.expected), 0.0f, 1e-3f) << "distance " << c.distance;
    }
}

TEST(TrackSpline, MeasuresCurvedSegmentsLongerThanTheirChords)
{
    // A quarter circle of radius 10 through 7 points: the spline's length lies near the
    // arc's 15.71, above the polygon's chord sum.
    std::vector<Ogre::Vector4> points;
    float chordSum = 0;
    Ogre::Vector3 previous;
    for (int i = 0; i <= 6; ++i)
    {
        const float angle = Ogre::Math::HALF_PI * i / 6.0f;
        const Ogre::Vector3 p(10 * std::cos(angle), 0, 10 * std::sin(angle));
        if (i > 0)
            chordSum += p.distance(previous);
        previous = p;
        points.emplace_back(p.x, p.y, p.z, 0);
    }
    TrackSpline spline;
    spline.build(points);
    EXPECT_GT(spline.getLength(), chordSum);
    EXPECT_NEAR(spline.getLength(), 5.0f * Ogre::Math::PI, 0.05f);
}

TEST(TrackSpline, EmptyAndSinglePointCurvesGiveTheirFirstPoint)
{
    TrackSpline empty;
    empty.build({});
    EXPECT_EQ(empty.getLength(), 0.0f);
    EXPECT_EQ(empty.getPointAt(5.0f), Ogre::Vector3::ZERO);

    TrackSpline single;
    single.build(path({{3, 4, 5}, {3, 4, 5}}));
    EXPECT_EQ(single.getLength(), 0.0f);
    EXPECT_EQ(single.getPointAt(1.0f), Ogre::Vector3(3, 4, 5));
}

TEST(TrackSpline, RebuildingStartsAfresh)
{
    TrackSpline spline;
    spline.setFlag(true);
    spline.build(path({{0, 0, 0}, {0, 0, 50}}));
    spline.build(path({{0, 0, 0}, {0, 0, 2}}));
    EXPECT_NEAR(spline.getLength(), 2.0f, 1e-4f);
    EXPECT_FALSE(spline.getFlag());
}
