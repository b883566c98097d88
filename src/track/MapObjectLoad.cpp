// Reading a track file into the loaded track: tiles, coverage mask, path graph, start,
// finish and checkpoints.
#include "track/MapObject.h"

#include "LogStream.h"
#include "XMLParser.h"
#include "track/CheckPointTracker.h"
#include "track/TileConnector.h"
#include "track/TileTemplate.h"
#include "track/TrackGraph.h"
#include "track/TrackScene.h"
#include "track/TrackSpline.h"

#include <algorithm>
#include <map>

namespace
{
const char* const kMapError = "Unable to read map!";

// The covered rows a0..a1 and columns b0..b1 of a turned tile's 9-per-cell footprint.
struct CoveredCells
{
    int a0, a1, b0, b1;
};

CoveredCells turnRect(const TrackObjectDesc::VegetationRect& rect, int rotation, int lastX, int lastY)
{
    const int x1 = static_cast<int>(rect.x1), y1 = static_cast<int>(rect.y1);
    const int x2 = static_cast<int>(rect.x2), y2 = static_cast<int>(rect.y2);
    switch (rotation)
    {
    case 0:
        return {x1, x2, y1, y2};
    case 1:
        return {lastY - y2, lastY - y1, x1, x2};
    case 2:
        return {lastX - x2, lastX - x1, lastY - y2, lastY - y1};
    case 3:
        return {y1, y2, lastX - x2, lastX - x1};
    default:
        return {0, 0, 0, 0};
    }
}
}

void MapObject::load(const std::string& trackPath, const std::string& tileListPath)
{
    clearTrack();
    try
    {
        loadTileDescriptors(tileListPath);
        loadMap(trackPath);
    }
    catch (...)
    {
        deleteTileDescriptors();
        clearTrack();
        throw;
    }
    deleteTileDescriptors();
}

void MapObject::clearTrack()
{
    deleteTiles();
    std::fill(coverage.begin(), coverage.end(), 0u);
    spline.reset();
    graph = std::make_unique<TrackGraph>();
    tracker = std::make_unique<CheckPointTracker>();
    setScale(scale, pageSize);
    startPosition = Ogre::Vector3::ZERO;
    startOrientation = Ogre::Quaternion::IDENTITY;
}

void MapObject::loadTileDescriptors(const std::string& listPath)
{
    tileDescriptions = XMLParser::getInstance()->loadTrackObjectDescs(listPath);
}

void MapObject::deleteTileDescriptors()
{
    XMLParser::getInstance()->deleteTrackObjectDescs(tileDescriptions);
}

void MapObject::loadMap(const std::string& path)
{
    // Unknown tiles and rotations outside 0..3 are refused here; tiles off the grid are skipped.
    MapEntries entries = XMLParser::getInstance()->loadMap(path, &tileDescriptions);
    bool hasStart = false, hasFinish = false;
    for (const MapEntry& entry : entries)
    {
        hasStart = hasStart || isStartTile(entry.name);
        hasFinish = hasFinish || isFinishTile(entry.name);
    }
    if (!hasStart)
        throw DataFileError(path, kMapError, "the track has no start tile");
    if (!hasFinish)
        throw DataFileError(path, kMapError, "the track has no finish tile");

    const int total = static_cast<int>(entries.size());
    int done = 0;
    for (const MapEntry& entry : entries)
    {
        reportProgress(done++, total);
        const TrackObjectDesc* desc = findTileDescriptor(entry.name);
        if (desc)
        {
            addTileLines(entry, *desc);
            coverTile(entry, *desc);
        }
        addTileMarks(entry);
        std::unique_ptr<TrackTile>& cell = tiles[static_cast<size_t>(entry.x) * kGridSize + entry.y];
        if (cell)
            debugLog() << path << ": tile \"" << entry.name << "\" at " << entry.x << ", " << entry.y
                       << " replaces the tile placed there before" << std::endl;
        cell = makeTile(entry, desc, path);
    }
    XMLParser::getInstance()->deleteMapEntries(entries);
}

void MapObject::addTileLines(const MapEntry& entry, const TrackObjectDesc& desc)
{
    std::map<std::string, int32_t> placed;  // point name -> node id, for this tile only
    for (size_t i = 0; i < desc.lines.size(); ++i)
    {
        TileConnector connector;
        connector.setDirection(desc.lines[i].searchDirection);
        connector.rotate(entry.rotation);
        for (const std::string& pointName : desc.lines[i].pointNames)
        {
            if (const auto known = placed.find(pointName); known != placed.end())
            {
                connector.addNode(known->second);
                continue;
            }
            const auto point = desc.points.find(pointName);
            if (point == desc.points.end())
                continue;
            TrackNode node = point->second;
            node.place(entry.x, entry.y, entry.rotation, desc.width, desc.height);
            connector.addNode(node.getId());
            graph->addNode(node);
            placed[pointName] = node.getId();
        }
        // A start-finish tile starts the path with its first line and ends it with the others.
        if (desc.start && !(desc.finish && i != 0))
            graph->setStart(connector);
        if (desc.finish && !(desc.start && i == 0))
            graph->setEnd(connector);
        graph->addConnector(connector);
    }
}

void MapObject::coverTile(const MapEntry& entry, const TrackObjectDesc& desc)
{
    const int lastX = desc.width * kCoveragePerTile - 1;
    const int lastY = desc.height * kCoveragePerTile - 1;
    for (const TrackObjectDesc::VegetationRect& rect : desc.vegetation)
    {
        const CoveredCells cells = turnRect(rect, entry.rotation, lastX, lastY);
        for (int a = cells.a0; a <= cells.a1; ++a)
        {
            for (int b = cells.b0; b <= cells.b1; ++b)
            {
                const int row = entry.x * kCoveragePerTile + a;
                const int column = entry.y * kCoveragePerTile + b;
                // The reader keeps footprints on the grid; this keeps the mask safe regardless.
                if (row >= 0 && column >= 0 && row < kCoverageSize && column < kCoverageSize)
                    coverage[static_cast<size_t>(row) * kCoverageSize + column] = kCovered;
            }
        }
    }
}

void MapObject::addTileMarks(const MapEntry& entry)
{
    const Ogre::Vector2 centre = getTileCentre(entry.x, entry.y);
    if (isStartTile(entry.name))
    {
        startPosition = Ogre::Vector3(centre.x, 0.0f, centre.y);
        startOrientation = CheckPointTracker::directionToOrientation(entry.rotation);
        tracker->setStart(centre, entry.rotation);
    }
    if (isFinishTile(entry.name))
        tracker->setFinish(centre, entry.rotation);
    if (entry.checkpoint >= 0)
        tracker->addCheckPointByDirection(entry.checkpoint, centre, entry.rotation);
}

std::unique_ptr<TrackTile> MapObject::makeTile(const MapEntry& entry, const TrackObjectDesc* desc,
                                               const std::string& path)
{
    const int r = entry.rotation;
    const std::string templateName = entry.name + "." + std::to_string(templateCounter++);
    std::unique_ptr<TileTemplate> tileTemplate;
    try
    {
        tileTemplate = std::make_unique<TileTemplate>(
            templateName, getRenderMeshName(entry.name, r), getPhysicMeshNames(entry.name, r),
            getSmoothMeshNames(entry.name, r), scene->getSceneManager(), desc && desc->automaticLightMap);
    }
    catch (const std::runtime_error& error)
    {
        throw DataFileError(path, kMapError,
                            "tile \"" + entry.name + "\" at " + std::to_string(entry.x) + ", " +
                                std::to_string(entry.y) + ": " + error.what());
    }
    // A tile modelled once per direction is used as it is; a single mesh is turned.
    const bool turnRender = desc && !desc->perDirectionGraphic;
    const bool turnPhysic = desc && !desc->perDirectionPhysic;
    const Ogre::Vector2 renderOffset = turnRender ? getCornerOffset(*desc, r) : Ogre::Vector2::ZERO;
    const Ogre::Vector2 physicOffset = turnPhysic ? getCornerOffset(*desc, r) : Ogre::Vector2::ZERO;
    return std::make_unique<TrackTile>(scene, *tileTemplate, turnRender ? -r : 0, turnPhysic ? -r : 0, -renderOffset,
                                       -physicOffset);
}
