// What the physics side needs of the terrain: its square grid of height samples with their
// scales, and the ground under a point. The race's terrain implements it, so the car and the
// terrain's collision never depend on how a terrain is loaded or drawn.
#pragma once

class TerrainHeights
{
public:
    // Samples per side of the square page.
    virtual float getPageSize() const = 0;
    // World units between two samples.
    virtual float getHorizontalScale() const = 0;
    // World height of a sample of 1.
    virtual float getVerticalScale() const = 0;
    // n x n heights 0..1 (row = z sample); null before the terrain exists.
    virtual const float* getHeightData() const = 0;
    // The largest of 0 and the heights at the four corners of the square of side size about (x, z).
    virtual float getMaxHeight(float x, float z, float size) const = 0;

protected:
    ~TerrainHeights() = default;
};
