// A piecewise-linear function over sorted (x, y) points, flat beyond both ends: the motor's
// torque curve, the steering curves and the AI drivers' tables.
#pragma once

#include <map>

class LinearCurve
{
public:
    // Adding an x that is already there replaces its y.
    void addPoint(float x, float y);
    // Interpolated between the neighbours of x; the end values outside [min x, max x].
    // An empty curve gives 0.
    float getValue(float x) const;
    bool isInRange(float x) const { return minX <= x && x <= maxX; }
    // The y of the n-th point in x order, from 0; n must be below getPointCount().
    float getValueAt(unsigned n) const;
    unsigned getPointCount() const { return static_cast<unsigned>(points.size()); }
    void clear();
    // Each point as "x -> y" on standard output.
    void print() const;

private:
    std::map<float, float> points;
    float minX = 0.0f;
    float maxX = 0.0f;
};
