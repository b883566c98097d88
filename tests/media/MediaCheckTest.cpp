// The shipped track media: every tile description, the terrain list and every built-in
// track load; every mesh, picture and path point they name exists; every track walks from
// its start to its finish through its checkpoints in order (driving them is TrackDriveTest's).
#include "DesertTreeLoader.h"
#include "GrassTreeLoader.h"
#include "XMLParser.h"
#include "gui/SelectorSlots.h"
#include "track/TrackGraph.h"
#include "track/TrackSpline.h"

#include "support/BuiltInTracks.h"
#include "support/HeadlessOgre.h"
#include "support/MeshTriangles.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreMeshSerializer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr float kWorldTileSize = 3.0f * 12.0f * 257.0f / 256.0f;  // world units at scale 12, page 257
constexpr float kGateWidth = 30.0f;                                 // world units
const std::string kMedia = "../media/";

bool fileExists(const std::string& path)
{
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

class MediaCheck : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The game runs from bin/ and names its media "../media/...".
        ASSERT_EQ(chdir(QUILLMOR_BUILD_DIR "/bin"), 0);
        tiles = XMLParser::getInstance()->loadTrackObjectDescs(kMedia + "tiles/TrackObjectList.xml");
    }
    static void TearDownTestSuite() { tiles.clear(); }

    static TrackObjectDescs tiles;
};
TrackObjectDescs MediaCheck::tiles;

// Loads a mesh of the tile folder and checks what the tile code relies on.
void checkMesh(const std::string& meshName, const TrackObjectDesc& desc, bool physics)
{
    ASSERT_TRUE(fileExists(kMedia + "tiles/" + meshName)) << desc.name << ": " << meshName;
    HeadlessOgre::root();
    // A sub-mesh keeps only names of materials that exist; the game's scripts define these.
    for (const char* material : {"roadMaterial", "terrainMaterial"})
        if (!Ogre::MaterialManager::getSingleton().resourceExists(material, "General"))
            Ogre::MaterialManager::getSingleton().create(material, "General");
    // Read straight from the file: a resource group would parse the folder's material
    // scripts, which need textures a headless engine lacks.
    Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(
        new std::ifstream(kMedia + "tiles/" + meshName, std::ios::binary), true));
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual("MediaCheck/" + meshName, "General");
    Ogre::MeshSerializer().importMesh(stream, mesh.get());
    mesh->load();  // so that removing it frees its sub-meshes
    const float cell = 3.0f;  // mesh units
    const Ogre::AxisAlignedBox& bounds = mesh->getBounds();
    EXPECT_GE(bounds.getMinimum().y, 0.0f) << meshName << ": vertices below the tile's plane";
    EXPECT_GE(bounds.getMinimum().x, -cell / 2 - 1e-4f) << meshName;
    EXPECT_GE(bounds.getMinimum().z, -cell / 2 - 1e-4f) << meshName;
    EXPECT_LE(bounds.getMaximum().x, cell * desc.width - cell / 2 + 1e-4f) << meshName;
    EXPECT_LE(bounds.getMaximum().z, cell * desc.height - cell / 2 + 1e-4f) << meshName;
    EXPECT_LT(bounds.getMaximum().x - bounds.getMinimum().x, 1e9f);
    ASSERT_GT(mesh->getNumSubMeshes(), 0u) << meshName;
    for (const Ogre::SubMesh* sub : mesh->getSubMeshes())
    {
        if (physics)
        {
            const std::string& material = sub->getMaterialName();
            EXPECT_TRUE(material == "roadMaterial" || material == "terrainMaterial") << meshName << ": " << material;
            continue;
        }
        // Lightmap baking takes the last texture coordinate set.
        const auto& elements = sub->vertexData->vertexDeclaration->getElements();
        ASSERT_FALSE(elements.empty());
        EXPECT_EQ(elements.back().getSemantic(), Ogre::VES_TEXTURE_COORDINATES) << meshName;
        EXPECT_EQ(elements.back().getIndex(), 1u) << meshName;
        EXPECT_NE(sub->vertexData->vertexDeclaration->findElementBySemantic(Ogre::VES_NORMAL), nullptr) << meshName;
    }
    Ogre::MeshManager::getSingleton().remove(mesh);
}

bool onBorder(const TrackNode& point, const TrackObjectDesc& desc)
{
    return point.x == 0.0f || point.z == 0.0f || point.x == desc.width || point.z == desc.height;
}

// What the loaded track does with the lines of its tiles.
void addTileLines(TrackGraph& graph, const MapEntry& entry, const TrackObjectDesc& desc)
{
    std::map<std::string, int32_t> placed;
    for (size_t i = 0; i < desc.lines.size(); ++i)
    {
        TileConnector connector;
        connector.setDirection(desc.lines[i].searchDirection);
        connector.rotate(entry.rotation);
        for (const auto& name : desc.lines[i].pointNames)
        {
            if (placed.count(name))
            {
                connector.addNode(placed[name]);
                continue;
            }
            TrackNode node = desc.points.at(name);
            node.place(entry.x, entry.y, entry.rotation, desc.width, desc.height);
            graph.addNode(node);
            connector.addNode(node.getId());
            placed[name] = node.getId();
        }
        if (desc.start && !(desc.finish && i != 0))
            graph.setStart(connector);
        if (desc.finish && !(desc.start && i == 0))
            graph.setEnd(connector);
        graph.addConnector(connector);
    }
}
}

TEST_F(MediaCheck, EveryTileDescriptionNamesMediaThatExists)
{
    const std::set<std::string> required = {"Straight", "Curve", "WideCurve", "Bump", "Crossing", "Start",
                                            "Finish", "StartFinish", "Checkpoint", "Eraser"};
    for (const auto& name : required)
        EXPECT_TRUE(tiles.count(name)) << "tile " << name << " is not in the tile list";

    for (const auto& [name, desc] : tiles)
    {
        EXPECT_TRUE(fileExists(kMedia + "tiles/" + desc->pictureName)) << name << ": " << desc->pictureName;
        if (desc->clear)
            continue;
        checkMesh(desc->graphicMeshes[0], *desc, false);
        for (const auto& table : {desc->physicMeshes, desc->smoothPhysicMeshes})
            for (const auto& [direction, meshes] : table)
                for (const auto& mesh : meshes)
                    checkMesh(mesh, *desc, true);
        EXPECT_FALSE(desc->lines.empty()) << name;
        EXPECT_FALSE(desc->vegetation.empty()) << name;
        for (const auto& line : desc->lines)
        {
            ASSERT_GE(line.pointNames.size(), 2u) << name;
            for (const auto& point : line.pointNames)
                ASSERT_TRUE(desc->points.count(point)) << name << ": line names the unknown point " << point;
            // Lines join their neighbours at the cell border; only the race's ends lie inside.
            const TrackNode& first = desc->points.at(line.pointNames.front());
            const TrackNode& last = desc->points.at(line.pointNames.back());
            EXPECT_TRUE(onBorder(first, *desc) || desc->start) << name << ": line starts inside the tile";
            EXPECT_TRUE(onBorder(last, *desc) || desc->finish) << name << ": line ends inside the tile";
        }
        for (const auto& [pointName, point] : desc->points)
            EXPECT_LT(point.width * kWorldTileSize, kGateWidth) << name << ": " << pointName << " wider than a gate";
    }
}

TEST_F(MediaCheck, EveryTerrainHasItsLevelImage)
{
    const TerrainDescs terrains = XMLParser::getInstance()->loadTerrainDescMap(kMedia + "terrain/TerrainList.xml");
    EXPECT_GE(terrains.size(), 3u);
    for (const auto& [name, terrain] : terrains)
    {
        EXPECT_FALSE(terrain.file.empty()) << name;
        EXPECT_TRUE(fileExists(kMedia + "terrain/" + terrain.levelImage)) << name << ": " << terrain.levelImage;
    }
}

TEST_F(MediaCheck, EveryBuiltInTrackHasAPathFromStartThroughItsCheckpointsToFinish)
{
    const TerrainDescs terrains = XMLParser::getInstance()->loadTerrainDescMap(kMedia + "terrain/TerrainList.xml");
    const auto tracks = BuiltInTracks::shipped();
    EXPECT_GE(tracks.size(), 3u);
    for (const auto& file : tracks)
    {
        SCOPED_TRACE(file);
        const std::string path = kMedia + "maps/" + file;
        const auto description = XMLParser::getInstance()->loadMapDescription(path);
        EXPECT_EQ(description->name, file);
        EXPECT_EQ(description->highscoreName, file.substr(0, file.size() - 4) + ".sde");
        EXPECT_TRUE(terrains.count(description->terrainName)) << description->terrainName;

        const MapEntries entries = XMLParser::getInstance()->loadMap(path, &tiles);
        TrackGraph graph;
        int starts = 0, finishes = 0;
        std::map<int, std::pair<int, int>> checkpointCells;  // number -> cell
        std::map<std::pair<int, int>, size_t> cells;  // cell -> index of its tile
        for (size_t index = 0; index < entries.size(); ++index)
        {
            const MapEntry& entry = entries[index];
            const TrackObjectDesc& desc = *tiles.at(entry.name);
            starts += desc.start;
            finishes += desc.finish;
            if (desc.checkpoint)
            {
                EXPECT_GE(entry.checkpoint, 0) << "unnumbered checkpoint at " << entry.x << ", " << entry.y;
                EXPECT_TRUE(checkpointCells.emplace(entry.checkpoint, std::make_pair(entry.x, entry.y)).second)
                    << "checkpoint " << entry.checkpoint << " twice";
            }
            const bool turned = entry.rotation % 2 == 1;
            for (int a = 0; a < (turned ? desc.height : desc.width); ++a)
                for (int b = 0; b < (turned ? desc.width : desc.height); ++b)
                    EXPECT_TRUE(cells.emplace(std::make_pair(entry.x + a, entry.y + b), index).second)
                        << "two tiles on cell " << entry.x + a << ", " << entry.y + b;
            addTileLines(graph, entry, desc);
        }
        EXPECT_EQ(starts, 1);
        EXPECT_EQ(finishes, 1);
        EXPECT_FALSE(checkpointCells.empty());

        ASSERT_TRUE(graph.buildPath()) << "the path breaks after " << graph.getPoints().size() << " points";
        // The walk passes every tile and meets the checkpoints in their order.
        std::vector<std::pair<int, int>> visited;
        std::set<size_t> visitedTiles;
        const auto points = graph.getPoints();
        for (size_t i = 0; i + 1 < points.size(); ++i)
        {
            const float x = (points[i].x + points[i + 1].x) / 2, z = (points[i].z + points[i + 1].z) / 2;
            const std::pair<int, int> cell(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(z)));
            ASSERT_TRUE(cells.count(cell)) << "the path leaves the track at " << cell.first << ", " << cell.second;
            visitedTiles.insert(cells.at(cell));
            if (visited.empty() || visited.back() != cell)
                visited.push_back(cell);
        }
        EXPECT_EQ(visitedTiles.size(), entries.size()) << "the path misses tiles";
        size_t position = 0;
        for (const auto& [number, cell] : checkpointCells)
        {
            const auto found = std::find(visited.begin() + position, visited.end(), cell);
            EXPECT_NE(found, visited.end()) << "checkpoint " << number << " out of driving order";
            position = found == visited.end() ? position : static_cast<size_t>(found - visited.begin());
        }
        const TrackSpline* spline = graph.buildSpline();
        EXPECT_GT(spline->getLength(), 0.9f * cells.size()) << "grid cells";
    }
}

TEST_F(MediaCheck, EveryTileHasAPlaceOfItsOwnInTheEditorsPalette)
{
    // The editor's palette: 5 columns, two pages of 10 rows.
    SelectorSlots palette(5, 20, 5, 10);
    std::vector<std::string> skipped;
    palette.load(tiles, skipped);
    EXPECT_TRUE(skipped.empty()) << skipped.front();
    std::set<std::string> shown;
    for (int column = 0; column < 5; ++column)
        for (int row = 0; row < 20; ++row)
            if (const EditorTrackObject* tile = palette.at(column, row))
                shown.insert(tile->getName());
    for (const auto& [name, desc] : tiles)
        EXPECT_TRUE(shown.count(name)) << name << " is not in the palette: another tile took its place";
}

// How far from the tree's axis the bark is, at a height and a bearing (radians from +x);
// 0 when a ray from outside meets no bark there.
float barkDistance(const std::vector<MeshTriangle>& bark, float height, float bearing)
{
    constexpr float kFrom = 3.0f;  // units from the axis
    const Ogre::Vector3 out(std::cos(bearing), 0.0f, std::sin(bearing));
    const float hit = nearestHit(bark, Ogre::Ray(out * kFrom + Ogre::Vector3(0.0f, height, 0.0f), -out));
    return hit < 0.0f ? 0.0f : kFrom - hit;
}

// How far from the axis a collider's surface is, at a bearing in the tree's own frame.
float colliderDistance(TreeKind::Collider collider, float bearing)
{
    if (collider == TreeKind::Collider::Capsule)
        return GrassTreeLoader::kCapsuleRadius;
    // The box turns with the tree, its faces along the mesh's x and z.
    return GrassTreeLoader::kBoxHalfWidth / std::max(std::fabs(std::cos(bearing)), std::fabs(std::sin(bearing)));
}

// How far the bark may lie from its collider: a round trunk in a square box lies between
// the box's faces and its corners.
float colliderFit(TreeKind::Collider collider)
{
    return collider == TreeKind::Collider::Box ? 0.065f : 0.02f;
}

// A PNG file's width and height, from its header; 0 by 0 when it is not one.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& path)
{
    unsigned char header[24] = {};
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(header), sizeof header);
    if (std::memcmp(header + 1, "PNG", 3) != 0)
        return {0, 0};
    const auto word = [&](int at) {
        return std::uint32_t(header[at]) << 24 | std::uint32_t(header[at + 1]) << 16 | std::uint32_t(header[at + 2]) << 8 |
               header[at + 3];
    };
    return {word(16), word(20)};
}

// Every tree kind's mesh: there, standing on its origin, lit and textured, small enough that
// a page of trees stays within 16-bit indices, and where a car meets it its bark runs along
// its collider: a car stops where the trunk is drawn. A palm collides as its own mesh.
TEST_F(MediaCheck, EveryTreeKindHasASmallMeshWithItsBarkOnItsCollider)
{
    HeadlessOgre::root();
    for (const char* material : {"Trees/Bark", "Trees/Pine", "Trees/Leaves", "Trees/PalmBark", "Trees/PalmLeaves"})
        if (!Ogre::MaterialManager::getSingleton().resourceExists(material, "General"))
            Ogre::MaterialManager::getSingleton().create(material, "General");
    std::vector<TreeKind> kinds = GrassTreeLoader::treeKinds();
    for (const TreeKind& kind : DesertTreeLoader::treeKinds())
        kinds.push_back(kind);
    for (const TreeKind& kind : kinds)
    {
        SCOPED_TRACE(kind.mesh);
        const std::string path = kMedia + "trees/" + kind.mesh;
        ASSERT_TRUE(fileExists(path));
        Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(new std::ifstream(path, std::ios::binary), true));
        Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual("MediaCheck/" + kind.mesh, "General");
        Ogre::MeshSerializer().importMesh(stream, mesh.get());
        mesh->load();
        const Ogre::AxisAlignedBox& bounds = mesh->getBounds();
        EXPECT_LE(bounds.getMinimum().y, 0.0f) << "floats above the ground";
        EXPECT_GT(bounds.getMinimum().y, -1.0f);
        EXPECT_GT(bounds.getMaximum().y, 4.0f) << "a tree lower than a car could jump";
        size_t vertices = 0;
        for (const Ogre::SubMesh* sub : mesh->getSubMeshes())
        {
            ASSERT_FALSE(sub->useSharedVertices);
            vertices += sub->vertexData->vertexCount;
            const Ogre::VertexDeclaration* declaration = sub->vertexData->vertexDeclaration;
            EXPECT_NE(declaration->findElementBySemantic(Ogre::VES_NORMAL), nullptr);
            EXPECT_NE(declaration->findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES), nullptr);
            EXPECT_EQ(sub->getMaterialName().rfind("Trees/", 0), 0u) << sub->getMaterialName();
        }
        // A 50-unit page of the densest forest holds about 15 trees.
        EXPECT_LT(vertices, 1000u);
        if (kind.collider != TreeKind::Collider::Mesh)
        {
            const auto bark = meshTriangles(*mesh, "Trees/Bark");
            ASSERT_FALSE(bark.empty());
            // From the ground to above a car's roof, all round.
            for (float height : {0.1f, 0.7f, 1.4f, 2.0f})
                for (int degrees = 2; degrees < 360; degrees += 11)  // off the lathe's seams
                {
                    const float bearing = Ogre::Degree(static_cast<float>(degrees)).valueRadians();
                    EXPECT_NEAR(barkDistance(bark, height, bearing), colliderDistance(kind.collider, bearing),
                                colliderFit(kind.collider))
                        << "at " << height << " up, " << degrees << " degrees";
                }
        }
        Ogre::MeshManager::getSingleton().remove(mesh);
    }
    for (const char* picture : {"treeshadow.png", "map1_TX_light_new3.png", "map1_TX_new3_grass.png",
                                "GRAS/gras4.png", "GRAS/gras5.png"})
        EXPECT_TRUE(fileExists(kMedia + "trees/" + picture)) << picture;
    // Multiplied pixel by pixel with the terrain lightmap (1024 a side) at its own size.
    EXPECT_EQ(pngSize(kMedia + "trees/" + GrassTreeLoader::kTintPicture), std::make_pair(1024u, 1024u));
}

// The grass blades' materials take no texture shadows: the engine's shadow pass would draw every
// blade in view a second time, without its program's sway and cut-out, as dark squares. Read
// from the script's text: a headless engine has no texture manager to parse it with.
TEST_F(MediaCheck, GrassReceivesNoTextureShadows)
{
    std::ifstream script(kMedia + "trees/Trees.material");
    ASSERT_TRUE(script);
    std::map<std::string, bool> receives;  // material -> takes shadows
    std::string line, material;
    while (std::getline(script, line))
    {
        std::istringstream words(line);
        std::string word, value;
        words >> word >> value;
        if (word == "material")
            receives[material = value] = true;
        else if (word == "receive_shadows" && !material.empty())
            receives[material] = value != "off" && value != "false";
    }
    for (const char* name : {"GRAS/gras4.png", "GRAS/gras5.png"})
    {
        ASSERT_EQ(receives.count(name), 1u) << name;
        EXPECT_FALSE(receives[name]) << name;
    }
}
