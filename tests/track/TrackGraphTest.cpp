// Waypoint placement, line directions, neighbour search, the walk and the world mapping.
#include "track/TileConnector.h"
#include "track/TrackGraph.h"
#include "track/TrackNode.h"
#include "track/TrackSpline.h"

#include <gtest/gtest.h>

namespace
{
// A line of a tile placed on the grid, its nodes already in grid cells.
TileConnector addLine(TrackGraph& graph, std::vector<TrackNode> nodes, int direction)
{
    TileConnector connector;
    connector.setDirection(direction);
    for (auto& node : nodes)
    {
        graph.addNode(node);
        connector.addNode(node.getId());
    }
    return connector;
}
}

TEST(TrackNode, PlacesPointsByExactQuarterTurns)
{
    struct Case
    {
        const char* what;
        float x, z;
        int rotation, width, height;
        float expectedX, expectedZ;
    };
    const Case cases[] = {
        {"unturned", 0.5f, 0.2f, 0, 1, 1, 10.5f, 20.2f},
        {"one quarter turn", 0.5f, 0.2f, 1, 1, 1, 10.8f, 20.5f},
        {"half turn", 0.5f, 0.2f, 2, 1, 1, 10.5f, 20.8f},
        {"three quarter turns", 0.5f, 0.2f, 3, 1, 1, 10.2f, 20.5f},
        {"edge point of a 2x1 tile, unturned", 2.0f, 0.5f, 0, 2, 1, 12.0f, 20.5f},
        {"edge point of a 2x1 tile, turned once: footprint 1x2", 2.0f, 0.5f, 1, 2, 1, 10.5f, 22.0f},
        {"edge point of a 2x1 tile, turned twice", 2.0f, 0.5f, 2, 2, 1, 10.0f, 20.5f},
        {"edge point of a 2x1 tile, turned three times", 2.0f, 0.5f, 3, 2, 1, 10.5f, 20.0f},
        {"corner of a 2x2 tile turned once", 0.0f, 0.0f, 1, 2, 2, 12.0f, 20.0f},
    };
    for (const auto& c : cases)
    {
        TrackNode node(c.x, 0.3f, c.z, 0.5f);
        const int idBefore = node.getId();
        node.place(10, 20, c.rotation, c.width, c.height);
        EXPECT_FLOAT_EQ(node.x, c.expectedX) << c.what;
        EXPECT_FLOAT_EQ(node.z, c.expectedZ) << c.what;
        EXPECT_FLOAT_EQ(node.y, 0.3f) << c.what;
        EXPECT_EQ(node.getId(), idBefore + 1) << c.what << ": placing takes a new id";
    }
}

TEST(TrackNode, EdgePointsOfNeighboursMeetExactlyInEveryRotation)
{
    // A straight tile's two edge points, placed at neighbouring cells, must coincide bit for
    // bit so the spline drops the repeated point; this fails with a float rotation matrix.
    for (int rotation = 0; rotation < 4; ++rotation)
    {
        TrackNode far(0.5f, 0.0f, 1.0f, 0.5f);
        TrackNode near(0.5f, 0.0f, 0.0f, 0.5f);
        far.place(37, 41, rotation, 1, 1);
        const bool alongX = rotation % 2 == 1;
        const int stepX = rotation == 1 ? -1 : rotation == 3 ? 1 : 0;
        const int stepZ = rotation == 0 ? 1 : rotation == 2 ? -1 : 0;
        near.place(37 + stepX, 41 + stepZ, rotation, 1, 1);
        EXPECT_EQ(far.x, near.x) << "rotation " << rotation << (alongX ? " along x" : " along z");
        EXPECT_EQ(far.z, near.z) << "rotation " << rotation;
    }
}

TEST(TrackNode, IdsComeFromOneCounterThatTheGraphRestarts)
{
    TrackGraph graph;
    TrackNode first(0, 0, 0, 0);
    TrackNode second(0, 0, 0, 0);
    EXPECT_EQ(first.getId(), 0);
    EXPECT_EQ(second.getId(), 1);
    EXPECT_EQ(TrackNode().getId(), -1);
}

TEST(TileConnector, TurnsAndIndexesItsNodes)
{
    TileConnector connector;
    connector.setDirection(3);
    connector.rotate(2);
    EXPECT_EQ(connector.getDirection(), 1);
    connector.rotate(3);
    EXPECT_EQ(connector.getDirection(), 0);
    connector.addNode(7);
    EXPECT_EQ(connector.getNode(0), 7);
    EXPECT_EQ(connector.getNode(1), -1);
    connector.setDirection(2);
    EXPECT_EQ(connector.getNodeCount(), 0u);
}

TEST(TrackGraph, FindsTheNearestLineStartInTheSearchDirection)
{
    TrackGraph graph;
    const TrackNode at12(12.0f, 0, 5.0f, 0.5f);
    const TrackNode at15(15.0f, 0, 5.0f, 0.5f);
    const TrackNode offLine(11.0f, 0, 5.002f, 0.5f);
    const TrackNode alongZ(10.0f, 0, 9.0f, 0.5f);
    for (const auto& node : {at12, at15, offLine, alongZ})
    {
        TileConnector connector;
        connector.addNode(node.getId());
        graph.addNode(node);
        graph.addConnector(connector);
    }
    struct Case
    {
        const char* what;
        Ogre::Vector3 from;
        int direction;
        int expectedId;
    };
    const Case cases[] = {
        {"+x finds the nearer of two ahead", {10.0f, 0, 5.0f}, 1, at12.getId()},
        {"-x finds the nearest behind", {20.0f, 0, 5.0f}, 3, at15.getId()},
        {"a node at the search point counts, also in -x", {12.0004f, 0, 5.0f}, 3, at12.getId()},
        {"two thousandths off the line is not in line", {10.0f, 0, 5.002f - 0.002f}, 1, at12.getId()},
        {"+z along the column", {10.0f, 0, 1.0f}, 2, alongZ.getId()},
        {"-z finds nothing behind", {10.0f, 0, 1.0f}, 0, -1},
        {"height plays no part", {10.0f, 50.0f, 5.0f}, 1, at12.getId()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(graph.findNeighbour(c.from, c.direction), c.expectedId) << c.what;
    // The off-line node is found only from its own line.
    EXPECT_EQ(graph.findNeighbour({10.0f, 0, 5.002f}, 1), offLine.getId());
}

TEST(TrackGraph, NeighbourSearchAgreesWithAPassOverEveryLineStart)
{
    // Line starts on a small lattice, several at some points (the lower id wins there), and
    // one line added twice (as the start line is): the search must match a plain pass.
    TrackGraph graph;
    std::vector<TrackNode> starts;
    unsigned seed = 7;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int i = 0; i < 60; ++i)
    {
        const TrackNode node(static_cast<float>(next() % 6), 0, static_cast<float>(next() % 6) * 0.5f, 0.5f);
        TileConnector connector;
        connector.addNode(node.getId());
        graph.addNode(node);
        graph.addConnector(connector);
        if (i == 10)
            graph.setStart(connector);
        starts.push_back(node);
    }
    const auto byPass = [&starts](float x, float z, int direction) {
        const bool alongX = direction == 1 || direction == 3;
        const bool towardsMore = direction == 1 || direction == 2;
        int best = -1;
        float bestAlong = 0;
        for (const TrackNode& node : starts)
        {
            if ((alongX ? node.z != z : node.x != x) ||
                (towardsMore ? (alongX ? node.x < x : node.z < z) : (alongX ? node.x > x : node.z > z)))
                continue;
            const float along = alongX ? node.x : node.z;
            if (best == -1 || (towardsMore ? along < bestAlong : along > bestAlong))
            {
                best = node.getId();
                bestAlong = along;
            }
        }
        return best;
    };
    for (int x = -1; x <= 6; ++x)
        for (int half = -1; half <= 12; ++half)
            for (int direction = 0; direction < 4; ++direction)
            {
                const float z = static_cast<float>(half) * 0.5f;
                EXPECT_EQ(graph.findNeighbour({static_cast<float>(x), 0, z}, direction),
                          byPass(static_cast<float>(x), z, direction))
                    << "from " << x << ", " << z << " in direction " << direction;
            }
}

TEST(TrackGraph, IgnoresLinesWhoseFirstNodeIsUnknown)
{
    TrackGraph graph;
    TileConnector unknown;
    unknown.addNode(99);
    graph.addConnector(unknown);
    graph.addConnector(TileConnector());
    EXPECT_EQ(graph.findNeighbour({0, 0, 0}, 1), -1);
    EXPECT_EQ(graph.getNode(99).getId(), -1);
}

TEST(TrackGraph, WalksFromStartToEndAndMapsToWorldUnits)
{
    TrackGraph graph;
    graph.setParams(3.0f, 8.0f / 3.0f, 0.0f, 8.0f / 3.0f);
    // Three tiles in a row along +x, then a fourth line beyond the end that must not be walked.
    graph.setStart(addLine(graph, {{10.5f, 0.1f, 20.2f, 0.5f}, {11.0f, 0, 20.2f, 0.5f}}, 1));
    graph.addConnector(addLine(graph, {{11.0f, 0, 20.2f, 0.5f}, {12.0f, 0, 20.2f, 0.5f}}, 1));
    graph.setEnd(addLine(graph, {{12.0f, 0, 20.2f, 0.5f}, {13.0f, 0, 20.2f, 0.5f}}, 1));
    graph.addConnector(addLine(graph, {{13.0f, 0, 20.2f, 0.5f}, {14.0f, 0, 20.2f, 0.5f}}, 1));

    ASSERT_TRUE(graph.buildPath());
    const auto points = graph.getPoints();
    ASSERT_EQ(points.size(), 6u);
    EXPECT_NEAR(points[0].x, 39.5f, 1e-4f);
    EXPECT_NEAR(points[0].y, 0.3f, 1e-4f);
    EXPECT_NEAR(points[0].z, 68.6f, 1e-4f);
    EXPECT_NEAR(points[0].w, 1.5f, 1e-6f);
    EXPECT_NEAR(points[5].x, (13.0f + 8.0f / 3.0f) * 3.0f, 1e-4f);

    EXPECT_FALSE(graph.buildPath()) << "the walk used up the graph";
}

TEST(TrackGraph, OneLineThatIsStartAndEndIsWalkedOnce)
{
    TrackGraph graph;
    const TileConnector line = addLine(graph, {{1, 0, 1, 0.5f}, {1, 0, 2, 0.5f}}, 2);
    graph.setStart(line);
    graph.setEnd(line);
    ASSERT_TRUE(graph.buildPath());
    EXPECT_EQ(graph.getPoints().size(), 2u);
    EXPECT_FLOAT_EQ(graph.buildSpline()->getLength(), 1.0f);
}

TEST(TrackGraph, BrokenPathsFailButKeepWhatWasWalked)
{
    {
        TrackGraph noEnd;
        noEnd.setStart(addLine(noEnd, {{1, 0, 1, 0.5f}}, 1));
        EXPECT_FALSE(noEnd.buildPath());
        EXPECT_TRUE(noEnd.getPoints().empty());
    }
    {
        TrackGraph gap;
        gap.setStart(addLine(gap, {{1, 0, 1, 0.5f}, {2, 0, 1, 0.5f}}, 1));
        gap.setEnd(addLine(gap, {{5, 0, 2, 0.5f}, {6, 0, 2, 0.5f}}, 1));  // not in line
        EXPECT_FALSE(gap.buildPath());
        EXPECT_EQ(gap.getPoints().size(), 2u);
    }
}

TEST(TrackGraph, PointsAlreadyWalkedAreNotRepeatedAsDefaults)
{
    // A line that shares a point with a line walked before it: the shared id is gone from
    // the graph, and must not come back as a waypoint at the grid origin.
    TrackGraph graph;
    TrackNode shared(1, 0, 2, 0.5f);
    graph.addNode(shared);
    TileConnector start = addLine(graph, {{1, 0, 1, 0.5f}}, 2);
    start.addNode(shared.getId());
    graph.setStart(start);
    TileConnector middle = addLine(graph, {{1, 0, 2, 0.5f}}, 2);
    middle.addNode(shared.getId());
    TrackNode exit(1, 0, 3, 0.5f);
    graph.addNode(exit);
    middle.addNode(exit.getId());
    graph.addConnector(middle);
    graph.setEnd(addLine(graph, {{1, 0, 3, 0.5f}, {1, 0, 4, 0.5f}}, 2));
    ASSERT_TRUE(graph.buildPath());
    const auto points = graph.getPoints();
    EXPECT_EQ(points.size(), 6u);
    for (const auto& point : points)
        EXPECT_GE(point.z, 1.0f) << "no waypoint at the origin";
}
