// The part of a tile's picture that one footprint cell shows in the editor.
#pragma once

struct TileTextureRect
{
    TileTextureRect(float u1, float v1, float u2, float v2, bool swapped)
        : u1(u1), v1(v1), u2(u2), v2(v2), swapped(swapped)
    {
    }

    float u1, v1;   // one corner of the cell
    float u2, v2;   // the opposite corner
    bool swapped;   // the picture's u and v axes are exchanged in the cell
};
