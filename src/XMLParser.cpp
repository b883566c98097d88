// Readers of the tile list, tile descriptions, track files and terrain list, and the
// track-file writer.
#include "XMLParser.h"

#include "AtomicFile.h"
#include "LogStream.h"
#include "track/EditorTrackObject.h"
#include "track/XmlFieldReader.h"

#include <OGRE/OgreLogManager.h>
#include <tinyxml.h>

#include <cmath>
#include <limits>

namespace
{
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kCoverageCellsPerTile = 9;
constexpr float kMaxPointHeightCells = 100.0f;  // path points may rise or sink this far

const char* const kTileListError = "Unable to read track object descriptions!";
const char* const kTileError = "Unable to read track object description!";
const char* const kMapError = "Unable to read map!";
const char* const kMapDescriptionError = "Unable to read map description!";
const char* const kTerrainError = "Unable to read terrain descriptions!";

// Direction codes of the tile files' search directions.
int searchDirectionCode(const std::string& value, bool& known)
{
    known = true;
    if (value == "X_PLUS")
        return 1;
    if (value == "Z_PLUS")
        return 2;
    if (value == "X_MINUS")
        return 3;
    known = value == "Z_MINUS";
    return 0;
}

void logToEngine(const std::string& line)
{
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(line, Ogre::LML_NORMAL);
}

void readGraphicMesh(const XmlFieldReader& reader, const TiXmlElement& meshes, TrackObjectDesc& desc)
{
    const TiXmlElement& graphic = reader.child(meshes, "Graphic");
    desc.perDirectionGraphic = graphic.FirstChildElement("North") != nullptr;
    if (!desc.perDirectionGraphic)
    {
        desc.graphicMeshes[0] = reader.text(graphic);
        return;
    }
    const char* const directions[4] = {"North", "East", "South", "West"};
    for (int d = 0; d < 4; ++d)
        desc.graphicMeshes[d] = reader.text(reader.child(graphic, directions[d]));
}

void readPhysicMeshes(const XmlFieldReader& reader, const TiXmlElement& meshes, TrackObjectDesc& desc)
{
    const char* const directions[4] = {"North", "East", "South", "West"};
    for (const TiXmlElement* physic = meshes.FirstChildElement("Physic"); physic;
         physic = physic->NextSiblingElement("Physic"))
    {
        const char* smoothValue = physic->Attribute("smooth");
        const bool smooth = smoothValue && (std::string(smoothValue) == "True" || std::string(smoothValue) == "true");
        TrackObjectDesc::MeshTable& table = smooth ? desc.smoothPhysicMeshes : desc.physicMeshes;
        desc.perDirectionPhysic = physic->FirstChildElement("North") != nullptr;
        if (!desc.perDirectionPhysic)
        {
            table[0].push_back(reader.text(*physic));
            continue;
        }
        for (int d = 0; d < 4; ++d)
            table[d].push_back(reader.text(reader.child(*physic, directions[d])));
    }
}

void readPoints(const XmlFieldReader& reader, const TiXmlElement& points, TrackObjectDesc& desc)
{
    constexpr float kDefaultWidth = 0.5f;  // cells
    for (const TiXmlElement* point = points.FirstChildElement(); point; point = point->NextSiblingElement())
    {
        // Points lie on the tile: a point off its footprint could never join a neighbour.
        const float x = reader.optionalReal(*point, "x", 0.0f, 0.0f, static_cast<float>(desc.width));
        const float y = reader.optionalReal(*point, "y", 0.0f, -kMaxPointHeightCells, kMaxPointHeightCells);
        const float z = reader.optionalReal(*point, "z", 0.0f, 0.0f, static_cast<float>(desc.height));
        const float width = reader.optionalReal(*point, "width", kDefaultWidth, 0.0f, XMLParser::kGridCells);
        const char* name = point->Attribute("name");
        if (name && *name)
            desc.points[name] = TrackNode(x, y, z, width);
    }
}

void readLines(const XmlFieldReader& reader, const TiXmlElement& lines, TrackObjectDesc& desc)
{
    for (const TiXmlElement* line = lines.FirstChildElement(); line; line = line->NextSiblingElement())
    {
        TrackObjectDesc::Line record;
        if (const char* direction = line->Attribute("searchdirection"))
        {
            bool known = false;
            record.searchDirection = searchDirectionCode(direction, known);
            if (!known)
                debugLog() << reader.getFile() << ": line " << line->Row() << ": unknown searchdirection \""
                           << direction << "\", searching towards Z_MINUS\n";
        }
        for (const TiXmlElement* name = line->FirstChildElement(); name; name = name->NextSiblingElement())
            record.pointNames.push_back(reader.text(*name));
        desc.lines.push_back(std::move(record));
    }
}

void readVegetation(const XmlFieldReader& reader, const TiXmlElement& vegetation, TrackObjectDesc& desc)
{
    const int maxX = desc.width * kCoverageCellsPerTile - 1;
    const int maxY = desc.height * kCoverageCellsPerTile - 1;
    for (const TiXmlElement* rect = vegetation.FirstChildElement(); rect; rect = rect->NextSiblingElement())
    {
        // The rectangle is marked on the track's coverage mask: it must stay on the tile.
        int x1 = reader.optionalInt(*rect, "x1", 0, 0, maxX);
        int y1 = reader.optionalInt(*rect, "y1", 0, 0, maxY);
        int x2 = reader.optionalInt(*rect, "x2", 0, 0, maxX);
        int y2 = reader.optionalInt(*rect, "y2", 0, 0, maxY);
        if (x1 > x2)
            std::swap(x1, x2);
        if (y1 > y2)
            std::swap(y1, y2);
        desc.vegetation.push_back({static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                                   static_cast<float>(y2)});
    }
}
}

XMLParser* XMLParser::getInstance()
{
    static XMLParser instance;
    return &instance;
}

TrackObjectDescs XMLParser::loadTrackObjectDescs(const std::string& listPath)
{
    const XmlFieldReader reader(listPath, kTileListError);
    const auto document = reader.load();
    const TiXmlElement& root = reader.root(*document, "TrackObjects");
    reader.onlyChildren(root, {"Name"});
    TrackObjectDescs descs;
    for (const TiXmlElement* name = root.FirstChildElement("Name"); name; name = name->NextSiblingElement("Name"))
    {
        auto desc = loadTrackObjectDesc(reader.text(*name));
        const std::string tileName = desc->name;
        descs[tileName] = std::move(desc);
    }
    return descs;
}

std::unique_ptr<TrackObjectDesc> XMLParser::loadTrackObjectDesc(const std::string& path)
{
    const XmlFieldReader reader(path, kTileError);
    const auto document = reader.load();
    const TiXmlElement& root = reader.root(*document, "TrackObject");
    reader.onlyChildren(root, {"Picture", "Meshes", "Points", "Lines", "Vegetation", "LightMap"});
    auto desc = std::make_unique<TrackObjectDesc>();

    desc->name = reader.requiredString(root, "name");
    if (desc->name.empty())
        reader.fail(&root, "attribute \"name\" of <TrackObject> is empty");
    desc->width = reader.requiredInt(root, "width", 1, kGridCells);
    desc->height = reader.requiredInt(root, "height", 1, kGridCells);
    desc->selectorX = reader.requiredInt(root, "x", kIntMin, kIntMax);
    desc->selectorY = reader.requiredInt(root, "y", kIntMin, kIntMax);
    desc->selectorPage = reader.optionalInt(root, "page", 0, kIntMin, kIntMax);
    desc->start = XmlFieldReader::has(root, "start");
    desc->finish = XmlFieldReader::has(root, "finish");
    desc->checkpoint = XmlFieldReader::has(root, "checkpoint");
    desc->clear = XmlFieldReader::has(root, "clear");
    desc->pictureName = reader.text(reader.child(root, "Picture"));
    if (desc->clear)
        return desc;

    const TiXmlElement& meshes = reader.child(root, "Meshes");
    readGraphicMesh(reader, meshes, *desc);
    readPhysicMeshes(reader, meshes, *desc);
    if (const TiXmlElement* points = root.FirstChildElement("Points"))
        readPoints(reader, *points, *desc);
    if (const TiXmlElement* lines = root.FirstChildElement("Lines"))
        readLines(reader, *lines, *desc);
    if (const TiXmlElement* vegetation = root.FirstChildElement("Vegetation"))
        readVegetation(reader, *vegetation, *desc);
    if (const TiXmlElement* lightMap = root.FirstChildElement("LightMap"))
    {
        const char* automatic = lightMap->Attribute("automatic");
        desc->automaticLightMap = automatic && std::string(automatic) == "true";
    }
    return desc;
}

MapEntries XMLParser::loadMap(const std::string& path, const TrackObjectDescs* knownTiles)
{
    const XmlFieldReader reader(path, kMapError);
    const auto document = reader.load();
    const TiXmlElement& root = reader.root(*document, "Map");
    reader.onlyChildren(root, {"TrackObject"});
    MapEntries entries;
    for (const TiXmlElement* tile = root.FirstChildElement("TrackObject"); tile;
         tile = tile->NextSiblingElement("TrackObject"))
    {
        reader.onlyChildren(*tile, {});
        MapEntry entry;
        entry.name = reader.requiredString(*tile, "name");
        entry.rotation = reader.requiredInt(*tile, "rotation", 0, 3);
        entry.x = reader.requiredInt(*tile, "x", kIntMin, kIntMax);
        entry.y = reader.requiredInt(*tile, "y", kIntMin, kIntMax);
        entry.checkpoint = reader.optionalInt(*tile, "checkpoint", -1, kIntMin, kIntMax);
        // A tile off the grid is dropped alone: the rest of a player's track still races.
        const auto skip = [&](const char* problem) {
            debugLog() << path << ": line " << tile->Row() << ": tile \"" << entry.name << "\" at " << entry.x
                       << ", " << entry.y << " " << problem << ", skipped" << std::endl;
        };
        if (entry.x < 0 || entry.y < 0 || entry.x >= kGridCells || entry.y >= kGridCells)
        {
            skip("lies off the 80 x 80 grid");
            continue;
        }
        if (knownTiles)
        {
            const auto desc = knownTiles->find(entry.name);
            if (desc == knownTiles->end())
                reader.fail(tile, "unknown tile \"" + entry.name + "\"");
            const bool turned = entry.rotation % 2 == 1;
            const int width = turned ? desc->second->height : desc->second->width;
            const int height = turned ? desc->second->width : desc->second->height;
            if (entry.x + width > kGridCells || entry.y + height > kGridCells)
            {
                skip("reaches past the 80 x 80 grid");
                continue;
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::unique_ptr<MapDescription> XMLParser::loadMapDescription(const std::string& path)
{
    const XmlFieldReader reader(path, kMapDescriptionError);
    const auto document = reader.load();
    const TiXmlElement& root = reader.root(*document, "Map");
    auto description = std::make_unique<MapDescription>();
    description->name = reader.requiredString(root, "name");
    description->highscoreName = reader.requiredString(root, "highscore");
    description->terrainName = reader.requiredString(root, "terrain");
    return description;
}

bool XMLParser::isSafeMapName(const std::string& mapName)
{
    if (mapName.empty())
        return false;
    for (const char c : mapName)
    {
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != ' ' && c != '-' && c != '_')
            return false;
    }
    return true;
}

bool XMLParser::saveMap(const PlacedEditorTiles& tiles, const std::string& terrain, const std::string& mapName,
                        const std::string& folder)
{
    return writeMap(tiles, terrain, mapName, folder + "/" + mapName + ".map");
}

bool XMLParser::writeMap(const PlacedEditorTiles& tiles, const std::string& terrain, const std::string& mapName,
                         const std::string& path)
{
    if (!isSafeMapName(mapName))
    {
        debugLog() << "saveMap: refused the track name \"" << mapName
                   << "\": use letters, digits, space, '-' and '_' only\n";
        return false;
    }
    TiXmlElement map("Map");
    map.SetAttribute("name", mapName + ".map");
    map.SetAttribute("highscore", mapName + ".sde");
    map.SetAttribute("terrain", terrain);

    // One element reused for every tile keeps the attribute order name, rotation, x, y, checkpoint.
    TiXmlElement tileElement("TrackObject");
    for (const auto& [tile, cell] : tiles)
    {
        const bool onGrid = tile && cell.x >= 0.0f && cell.x < kGridCells && cell.y >= 0.0f && cell.y < kGridCells;
        if (!onGrid || tile->getRotation() < 0 || tile->getRotation() > 3)
        {
            debugLog() << "saveMap: track \"" << mapName << "\" not saved: a tile lies off the grid\n";
            return false;
        }
        tileElement.SetAttribute("name", tile->getName());
        tileElement.SetAttribute("rotation", tile->getRotation());
        tileElement.SetAttribute("x", static_cast<int>(cell.x));
        tileElement.SetAttribute("y", static_cast<int>(cell.y));
        if (tile->isCheckPoint())
            tileElement.SetAttribute("checkpoint", tile->getCheckPointNumber());
        else
            tileElement.RemoveAttribute("checkpoint");
        map.InsertEndChild(tileElement);
    }
    TiXmlDocument document;
    document.InsertEndChild(map);
    TiXmlPrinter printer;
    document.Accept(&printer);

    std::string error;
    if (!writeFileAtomically(path, printer.Str(), &error))
    {
        debugLog() << "saveMap: " << error << "\n";
        return false;
    }
    return true;
}

TerrainDescs XMLParser::loadTerrainDescMap(const std::string& path)
{
    logToEngine("enter loadTerrainDescMap");
    logToEngine("enter loadTerrainDescMap: load file");
    const XmlFieldReader reader(path, kTerrainError);
    const auto document = reader.load();
    logToEngine("enter loadTerrainDescMap: read file");
    const TiXmlElement& root = reader.root(*document, "Terrains");
    reader.onlyChildren(root, {"Terrain"});
    TerrainDescs descs;
    for (const TiXmlElement* terrain = root.FirstChildElement("Terrain"); terrain;
         terrain = terrain->NextSiblingElement("Terrain"))
    {
        logToEngine("enter loadTerrainDescMap: new TerrainDesc");
        TerrainDesc desc;
        desc.name = reader.requiredString(*terrain, "name");
        desc.file = reader.requiredString(*terrain, "file");
        desc.levelImage = reader.requiredString(*terrain, "levelImage");
        logToEngine("enter loadTerrainDescMap: save TerrainDesc");
        descs[desc.name] = desc;
    }
    logToEngine("enter loadTerrainDescMap: done!");
    return descs;
}

TiXmlAttribute* XMLParser::findAttribute(TiXmlElement* element, const std::string& name)
{
    while (TiXmlAttribute* first = element->FirstAttribute())
    {
        if (name == first->Name())
            return first;
        element->RemoveAttribute(first->Name());
    }
    return nullptr;
}

bool XMLParser::hasAttribute(TiXmlElement* element, const std::string& name)
{
    return findAttribute(element, name) != nullptr;
}

std::string XMLParser::getString(TiXmlElement* element, const std::string& name)
{
    const TiXmlAttribute* attribute = findAttribute(element, name);
    return attribute ? attribute->ValueStr() : std::string();
}

float XMLParser::getReal(TiXmlElement* element, const std::string& name)
{
    const TiXmlAttribute* attribute = findAttribute(element, name);
    return attribute ? static_cast<float>(attribute->DoubleValue()) : 0.0f;
}

int XMLParser::getInt(TiXmlElement* element, const std::string& name)
{
    const TiXmlAttribute* attribute = findAttribute(element, name);
    return attribute ? attribute->IntValue() : 0;
}

bool XMLParser::getBool(TiXmlElement* element, const std::string& name)
{
    const std::string value = getString(element, name);
    return value == "True" || value == "true";
}
