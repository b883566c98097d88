// One tile type as its description file gives it: footprint, selector cell, flags, meshes
// per direction, path points and lines, vegetation rectangles.
#pragma once

#include "track/TrackNode.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct TrackObjectDesc
{
    // A line of the driving path through named points, with its search direction
    // (0 -z, 1 +x, 2 +z, 3 -x).
    struct Line
    {
        std::vector<std::string> pointNames;
        int searchDirection = 0;
    };
    // Where the track occupies the tile, in coverage cells (nine per grid cell) of the
    // unturned tile; x1 <= x2, y1 <= y2, whole numbers.
    struct VegetationRect
    {
        float x1 = 0.0f;
        float y1 = 0.0f;
        float x2 = 0.0f;
        float y2 = 0.0f;
    };
    using MeshTable = std::map<int, std::vector<std::string>>;  // direction -> mesh names

    std::string name;
    int width = 0;   // grid cells, unturned
    int height = 0;  // grid cells, unturned
    int selectorX = 0;
    int selectorY = 0;
    int selectorPage = 0;
    std::string graphicMeshes[4];  // North, East, South, West; only [0] without perDirectionGraphic
    MeshTable physicMeshes;
    MeshTable smoothPhysicMeshes;
    std::string pictureName;
    bool start = false;
    bool finish = false;
    bool checkpoint = false;
    bool clear = false;  // the eraser: no meshes
    bool automaticLightMap = false;
    bool perDirectionGraphic = false;
    bool perDirectionPhysic = false;
    std::map<std::string, TrackNode> points;  // tile cells, unturned
    std::vector<Line> lines;
    std::vector<VegetationRect> vegetation;
};

// Tile types by name, in byte order of the names.
using TrackObjectDescs = std::map<std::string, std::unique_ptr<TrackObjectDesc>>;
