// Told once per built terrain page, with the page's heights (0..1, n x n, row by row).
#pragma once

#include <cstddef>

class TerrainPageSource;

class TerrainPageSourceListener
{
public:
    virtual ~TerrainPageSourceListener() = default;
    // The heights are the source's; copy what you keep.
    virtual void pageConstructed(TerrainPageSource* source, size_t pageX, size_t pageZ, const float* heightData) = 0;
};
