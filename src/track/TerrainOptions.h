// What a terrain file says about its one page: size, world scale, heightmap and look.
#pragma once

#include <OGRE/OgreVector.h>

#include <string>

struct TerrainOptions
{
    unsigned pageSize = 0;     // height samples along one page edge, 2^k + 1
    unsigned tileSize = 65;    // samples along one render tile edge, 2^k + 1, at most the page size
    // World units between two samples along x and z, and per height unit (heights run 0..1).
    Ogre::Vector3 scale{1, 1, 1};
    std::string heightmapImage;      // 16-bit grey PNG of pageSize x pageSize samples
    std::string worldTexture;        // colour stretched over the whole page
    std::string detailTexture;       // grain repeated detailTile times along each edge
    float detailTile = 1.0f;
    std::string customMaterialName;  // when set, the page is drawn with this material instead
};
