// The driving path as a smooth curve with its length, so the AI can ask for the point
// at a distance along the track.
#pragma once

#include <OGRE/OgreSimpleSpline.h>
#include <OGRE/OgreVector.h>

#include <memory>
#include <vector>

class TrackSpline
{
public:
    TrackSpline();
    virtual ~TrackSpline();

    // Builds the curve from path points (x, y, z, width); widths are not used. Repeated
    // consecutive points are dropped so no segment has zero length.
    void build(const std::vector<Ogre::Vector4>& points);
    float getLength() const { return length; }
    // The curve point at a distance (world units) from the start; distances past the end
    // give the last point, a negative distance or a curve without length the first point.
    Ogre::Vector3 getPointAt(float distance) const;
    // Measures the curve again, 10 to 1000 chords per segment.
    void computeLength();

    const Ogre::SimpleSpline& getCurve() const { return *curve; }
    void setFlag(bool value) { flag = value; }
    bool getFlag() const { return flag; }

private:
    float length = 0.0f;  // world units
    std::unique_ptr<Ogre::SimpleSpline> curve;
    bool flag = false;
};
