// A tyre force function: friction coefficient over slip, rising to an extremum and
// settling on an asymptote, scaled by a stiffness factor (a grip multiplier).
#pragma once

namespace nxOgre
{

struct NxTireFunctionDesc
{
    // Defaults: a road tyre along its rolling direction.
    float extremumSlip = 2.0f;     // slip (units per second) where the curve peaks
    float extremumValue = 1.0f;    // friction coefficient at the peak
    float asymptoteSlip = 8.0f;    // slip from which the curve stays flat
    float asymptoteValue = 0.75f;  // friction coefficient on the flat part
    float stiffnessFactor = 1.0f;  // grip multiplier applied to the curve

    // The curve alone (no stiffness) at |slip|; 0 at slip 0, asymptote value beyond.
    float curve(float slip) const;
    // The curve's slope at |slip|, for the implicit axle update.
    float curveSlope(float slip) const;
    // False for curves that can't be evaluated (non-positive or unordered slips).
    bool isValid() const;
};

}
