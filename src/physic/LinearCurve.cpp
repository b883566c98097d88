// Piecewise-linear curves.
#include "physic/LinearCurve.h"

#include <cassert>
#include <cstdio>
#include <iterator>

void LinearCurve::addPoint(float x, float y)
{
    if (points.empty())
    {
        minX = maxX = x;
    }
    else
    {
        if (x < minX)
            minX = x;
        if (x > maxX)
            maxX = x;
    }
    points[x] = y;
}

float LinearCurve::getValue(float x) const
{
    if (points.empty())
        return 0.0f;
    if (x <= minX)
        return points.begin()->second;
    if (x >= maxX)
        return points.rbegin()->second;
    const auto upper = points.lower_bound(x);
    const auto lower = std::prev(upper);
    const float toLower = x - lower->first;
    const float toUpper = upper->first - x;
    return (lower->second * toUpper + upper->second * toLower) / (toLower + toUpper);
}

float LinearCurve::getValueAt(unsigned n) const
{
    assert(n < points.size());
    return std::next(points.begin(), n)->second;
}

void LinearCurve::clear()
{
    points.clear();
    minX = maxX = 0.0f;
}

void LinearCurve::print() const
{
    for (const auto& point : points)
        std::printf("%2.3f -> %2.3f\n", point.first, point.second);
}
