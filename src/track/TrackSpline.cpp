// Track spline building, measuring and sampling.
#include "track/TrackSpline.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kChordsPerUnit = 10.0f;  // one measuring chord per tenth of a unit
constexpr float kMinChords = 10.0f;
constexpr float kMaxChords = 1000.0f;
}

TrackSpline::TrackSpline() : curve(std::make_unique<Ogre::SimpleSpline>())
{
    curve->setAutoCalculate(false);
}

TrackSpline::~TrackSpline() = default;

void TrackSpline::build(const std::vector<Ogre::Vector4>& points)
{
    length = 0.0f;
    flag = false;
    curve->clear();
    Ogre::Vector3 previous;
    for (size_t i = 0; i < points.size(); ++i)
    {
        const Ogre::Vector3 point = points[i].xyz();
        // The engine counts points in 16 bits: a longer path is cut rather than wrapped.
        if (curve->getNumPoints() == 0xFFFF)
            break;
        if (i == 0 || point != previous)
            curve->addPoint(point);
        previous = point;
    }
    curve->recalcTangents();
    computeLength();
}

void TrackSpline::computeLength()
{
    length = 0.0f;
    const unsigned int pointCount = curve->getNumPoints();
    for (unsigned int i = 0; i + 1 < pointCount; ++i)
    {
        const float chord = curve->getPoint(i).distance(curve->getPoint(i + 1));
        // Clamped as a float first: a huge or non-finite chord must not overflow the count.
        const float chordCount = std::clamp(chord * kChordsPerUnit, kMinChords, kMaxChords);
        const int steps = std::isnan(chordCount) ? static_cast<int>(kMaxChords) : static_cast<int>(chordCount);
        Ogre::Vector3 from = curve->interpolate(i, 0.0f);
        for (int j = 1; j <= steps; ++j)
        {
            const Ogre::Vector3 to = curve->interpolate(i, static_cast<float>(j) / steps);
            length += from.distance(to);
            from = to;
        }
    }
}

Ogre::Vector3 TrackSpline::getPointAt(float distance) const
{
    if (curve->getNumPoints() == 0)
        return Ogre::Vector3::ZERO;
    if (!(length > 0.0f) || !(distance >= 0.0f))
        return curve->getPoint(0);
    const float t = std::min(distance / length, 1.0f);
    return curve->interpolate(t);
}
