// Where the trees of a race stand: random tries over an area, drawn from the C library's
// generator seeded from the area's corner, kept only where the track's coverage is exactly 0,
// on the ground. The same area and number of tries always give the same forest.
#pragma once

#include "paging/TBounds.h"

#include <OGRE/OgreVector.h>

#include <cstdint>
#include <functional>
#include <vector>

struct PlantedTree
{
    Ogre::Vector3 position;
    float yawDegrees;
    unsigned kind;  // what the chooser picked
};

class TreePlanter
{
public:
    using Field = std::function<float(float x, float z)>;
    // Picks a kind from the generator's next numbers (std::rand), after the tree's place and yaw.
    using Chooser = std::function<unsigned()>;

    explicit TreePlanter(const TBounds& bounds) : area(bounds) {}

    // From the area's top-left corner, truncated: 100000 for an area from (0, 0).
    static unsigned seedFor(const TBounds& bounds);

    // Seeds the generator, then makes the tries: x, then z, then (where the coverage is 0)
    // the yaw and the kind. The coverage and height fields are the track's and the terrain's.
    std::vector<PlantedTree> plant(std::uint32_t tries, const Field& coverage, const Field& height,
                                   const Chooser& choose) const;

private:
    TBounds area;
};
