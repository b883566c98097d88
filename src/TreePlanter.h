// Where the trees of a race stand: random tries over an area, kept only where the track's
// coverage is exactly 0, on the ground. The same seed always gives the same forest.
#pragma once

#include "paging/TBounds.h"

#include <OGRE/OgreVector.h>

#include <cstdint>
#include <functional>
#include <random>
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
    // Picks a kind from the planter's random numbers.
    using Chooser = std::function<unsigned(TreePlanter&)>;

    TreePlanter(const TBounds& bounds, std::uint32_t seed);

    // tries random positions; the coverage and height fields are the track's and terrain's.
    std::vector<PlantedTree> plant(std::uint32_t tries, const Field& coverage, const Field& height,
                                   const Chooser& choose);

    // Uniform in [low, high].
    float range(float low, float high);
    std::uint32_t next() { return engine(); }

private:
    TBounds bounds;
    std::mt19937 engine;
};
