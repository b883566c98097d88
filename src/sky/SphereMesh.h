// The sky's procedural spheres, seen from inside: the dome's pole sphere (a vertex at each
// pole, V running 0 at the zenith, 1 at the horizon, 2 at the nadir) and the starfield's
// UV sphere (an equirectangular map). Made once per name in the sky's resource group.
#pragma once

#include <OGRE/OgreVector.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sky
{
enum class SphereKind
{
    Pole = 0,
    UV = 1
};

// One vertex of a sphere mesh: position, normal (inwards), texture coordinates.
struct SphereVertex
{
    float position[3];
    float normal[3];
    float uv[2];
};

struct SphereGeometry
{
    std::vector<SphereVertex> vertices;
    std::vector<std::uint16_t> indices;  // triangles
};

// The vertices and triangles of a sphere of `segments` rings and segments (at most 180,
// so every index fits 16 bits).
SphereGeometry buildSphereGeometry(unsigned segments, SphereKind kind);

// Builds the named mesh unless the engine already has one of that name.
void createSphereMesh(const std::string& name, unsigned segments, SphereKind kind);
}
