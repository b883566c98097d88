// Deterministic value noise for the generated pictures: the same seed gives the same bytes.
#pragma once

#include <cstdint>

// A pseudo-random value in [0, 1] for an integer lattice point.
float latticeNoise(int x, int y, uint32_t seed);
// Lattice noise smoothly interpolated between the lattice points.
float valueNoise(float x, float y, uint32_t seed);
