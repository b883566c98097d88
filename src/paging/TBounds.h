// A rectangle on the ground plane (x, z): the bounds type of the vegetation paging.
#pragma once

struct TBounds
{
    float left = 0.0f;    // smallest x
    float top = 0.0f;     // smallest z
    float right = 0.0f;   // largest x
    float bottom = 0.0f;  // largest z

    TBounds() = default;
    TBounds(float leftX, float topZ, float rightX, float bottomZ)
        : left(leftX), top(topZ), right(rightX), bottom(bottomZ)
    {
    }

    float width() const { return right - left; }
    float height() const { return bottom - top; }
};
