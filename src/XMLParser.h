// The one reader and writer of the game's XML data files: tile list and tile descriptions,
// track files, the terrain list and car files. Keeps no state between calls.
// Bad files are refused with a DataFileError naming the file and what is wrong.
#pragma once

#include "physic/CarDesc.h"
#include "track/DataFileError.h"
#include "track/MapDescription.h"
#include "track/MapEntry.h"
#include "track/TerrainDesc.h"
#include "track/TrackObjectDesc.h"

#include <OGRE/OgreVector.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class EditorTrackObject;
class TiXmlAttribute;
class TiXmlElement;

// The editor's placed tiles with the grid cell (x, y) of each tile's first footprint cell.
using PlacedEditorTiles = std::vector<std::pair<const EditorTrackObject*, Ogre::Vector2>>;

class XMLParser
{
public:
    static constexpr int kGridCells = 80;  // a track is 80 x 80 tiles

    virtual ~XMLParser() = default;
    static XMLParser* getInstance();

    // The tile list ("TrackObjects" of "Name" paths) and every description it names.
    TrackObjectDescs loadTrackObjectDescs(const std::string& listPath);
    std::unique_ptr<TrackObjectDesc> loadTrackObjectDesc(const std::string& path);
    void deleteTrackObjectDescs(TrackObjectDescs& descs) { descs.clear(); }

    // The placed tiles of a track file, in file order. With knownTiles, every tile name
    // must be one of them. A tile off the grid (with knownTiles, a footprint reaching past
    // it) is skipped with a debug-log line naming the file, the line and the tile.
    MapEntries loadMap(const std::string& path, const TrackObjectDescs* knownTiles = nullptr);
    void deleteMapEntries(MapEntries& entries) { entries.clear(); }
    // The names in a track file's root.
    std::unique_ptr<MapDescription> loadMapDescription(const std::string& path);
    void deleteMapDescription(std::unique_ptr<MapDescription>& description) { description.reset(); }
    // Writes folder/<mapName>.map whole or not at all; false (and a log line) when the name
    // is unsafe, a tile lies off the grid or the file can't be written.
    bool saveMap(const PlacedEditorTiles& tiles, const std::string& terrain, const std::string& mapName,
                 const std::string& folder);
    // The same track file written to any path (the editor stages it under another name).
    bool writeMap(const PlacedEditorTiles& tiles, const std::string& terrain, const std::string& mapName,
                  const std::string& path);
    // Not empty; only letters, digits, space, '-' and '_' (so no path separator or dot).
    static bool isSafeMapName(const std::string& mapName);

    // A car file and everything it describes. Throws DataFileError for a missing or
    // malformed file, a wrong root, a missing required element, a comment or text inside a
    // list, a fade whose end is not after its start, a wheel without travel or radius, a
    // zero final ratio or a tyre function that can't be evaluated.
    std::unique_ptr<CarDesc> loadCar(const std::string& path);
    void deleteCarDesc(std::unique_ptr<CarDesc>& desc) { desc.reset(); }

    TerrainDescs loadTerrainDescMap(const std::string& path);
    void deleteTerrainDescs(TerrainDescs& descs) { descs.clear(); }

    // Destructive lookup: removes the element's attributes standing before the one named,
    // which stays first; null (with every attribute removed) when it is not there, so names
    // must be asked in the order they stand. The game's own readers look attributes up by
    // name (XmlFieldReader), where order never matters; none reads a file through these.
    static TiXmlAttribute* findAttribute(TiXmlElement* element, const std::string& name);
    static bool hasAttribute(TiXmlElement* element, const std::string& name);
    static std::string getString(TiXmlElement* element, const std::string& name);
    static float getReal(TiXmlElement* element, const std::string& name);
    static int getInt(TiXmlElement* element, const std::string& name);
    // True for the exact values "True" and "true".
    static bool getBool(TiXmlElement* element, const std::string& name);
};
