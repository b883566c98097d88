// Track files (read, described, written byte for byte) and the terrain list.
#include "LogStream.h"
#include "XMLParser.h"
#include "track/EditorTrackObject.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
TrackObjectDesc describe(const std::string& name, int width, int height, bool checkpoint)
{
    TrackObjectDesc desc;
    desc.name = name;
    desc.width = width;
    desc.height = height;
    desc.checkpoint = checkpoint;
    return desc;
}

template <typename Read>
void expectRefused(const std::string& path, Read read, const char* message, const char* problem, const char* what)
{
    try
    {
        read(path);
        ADD_FAILURE() << what << ": accepted";
    }
    catch (const DataFileError& error)
    {
        EXPECT_EQ(error.getFile(), path) << what;
        EXPECT_EQ(error.getMessage(), message) << what;
        EXPECT_NE(std::string(error.what()).find(problem), std::string::npos) << what << ": " << error.what();
    }
}
}

TEST(MapFile, ReadsPlacedTilesInFileOrder)
{
    TempFolder folder;
    const std::string path = folder.write("m.map", R"(<Map name="m.map" highscore="m.sde" terrain="Hills">
    <TrackObject y="7" x="5" rotation="3" name="Straight" checkpoint="3" />
    <TrackObject name="Curve" rotation="0" x="0" y="79" />
</Map>)");
    const MapEntries entries = XMLParser::getInstance()->loadMap(path);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Straight");
    EXPECT_EQ(entries[0].rotation, 3);
    EXPECT_EQ(entries[0].x, 5);
    EXPECT_EQ(entries[0].y, 7);
    EXPECT_EQ(entries[0].checkpoint, 3);
    EXPECT_EQ(entries[1].checkpoint, -1);
    EXPECT_EQ(entries[1].y, 79);

    const auto description = XMLParser::getInstance()->loadMapDescription(path);
    EXPECT_EQ(description->name, "m.map");
    EXPECT_EQ(description->highscoreName, "m.sde");
    EXPECT_EQ(description->terrainName, "Hills");
    EXPECT_FALSE(description->standardMap);
}

TEST(MapFile, RefusesBadTrackFiles)
{
    TrackObjectDescs known;
    known["Straight"] = std::make_unique<TrackObjectDesc>(describe("Straight", 1, 1, false));
    known["Wide"] = std::make_unique<TrackObjectDesc>(describe("Wide", 2, 1, false));
    struct Case
    {
        const char* what;
        std::string tileLine;
        const char* problem;
    };
    const Case cases[] = {
        {"no rotation", R"(<TrackObject name="Straight" x="1" y="1"/>)", "\"rotation\" of <TrackObject> is missing"},
        {"no x", R"(<TrackObject name="Straight" rotation="0" y="1"/>)", "\"x\" of <TrackObject> is missing"},
        {"no y", R"(<TrackObject name="Straight" rotation="0" x="1"/>)", "\"y\" of <TrackObject> is missing"},
        {"no name", R"(<TrackObject rotation="0" x="1" y="1"/>)", "\"name\""},
        {"rotation 4", R"(<TrackObject name="Straight" rotation="4" x="1" y="1"/>)", "outside 0..3"},
        {"x not a number", R"(<TrackObject name="Straight" rotation="0" x="1e3" y="1"/>)", "not a whole number"},
        {"rotation not a number", R"(<TrackObject name="Straight" rotation="x" x="1" y="1"/>)", "not a whole number"},
        {"unknown tile", R"(<TrackObject name="Loop" rotation="0" x="1" y="1"/>)", "unknown tile \"Loop\""},
        {"garbage hiding a tile", "<TrackObject name=\"Straight\" rotation=\"0\" x=\"1\" y=\"1\"/>\n<!x#\n"
                                  "<TrackObject name=\"Straight\" rotation=\"0\" x=\"2\" y=\"1\"/>",
         "unexpected markup \"<!x#"},
        {"unknown element", "\n<Tile name=\"Straight\" rotation=\"0\" x=\"1\" y=\"1\"/>",
         "line 2: unknown element <Tile> in <Map>"},
        {"text in the map", "Straight 0 1 1", "unexpected text in <Map>"},
        {"text in a tile", R"(<TrackObject name="Straight" rotation="0" x="1" y="1">2</TrackObject>)",
         "unexpected text in <TrackObject>"},
        {"nested tens of thousands deep", [] {
             std::string deep;
             for (int i = 0; i < 30000; ++i)
                 deep += "<TrackObject>";
             return deep;
         }(), "elements nested deeper than"},
    };
    TempFolder folder;
    for (const auto& c : cases)
    {
        const std::string path = folder.write("bad.map", "<Map name=\"b.map\">" + c.tileLine + "</Map>");
        expectRefused(path, [&](const std::string& p) { XMLParser::getInstance()->loadMap(p, &known); },
                      "Unable to read map!", c.problem, c.what);
    }
    const std::string wrongRoot = folder.write("root.map", "<Track name=\"b.map\"/>");
    expectRefused(wrongRoot, [](const std::string& p) { XMLParser::getInstance()->loadMap(p); },
                  "Unable to read map!", "root element is <Track>", "wrong root");
    expectRefused(wrongRoot, [](const std::string& p) { XMLParser::getInstance()->loadMapDescription(p); },
                  "Unable to read map description!", "root element is <Track>", "wrong root, description");
    expectRefused(folder.path() + "absent.map", [](const std::string& p) { XMLParser::getInstance()->loadMap(p); },
                  "Unable to read map!", "No such file or directory", "missing file");
    expectRefused(folder.write("noterrain.map", "<Map name=\"a.map\" highscore=\"a.sde\"/>"),
                  [](const std::string& p) { XMLParser::getInstance()->loadMapDescription(p); },
                  "Unable to read map description!", "\"terrain\"", "description without terrain");
}

TEST(MapFile, SkipsTilesOffTheGridAndKeepsTheRest)
{
    TrackObjectDescs known;
    known["Straight"] = std::make_unique<TrackObjectDesc>(describe("Straight", 1, 1, false));
    known["Wide"] = std::make_unique<TrackObjectDesc>(describe("Wide", 2, 1, false));
    TempFolder folder;
    const std::string path = folder.write("off.map", R"(<Map name="off.map">
    <TrackObject name="Straight" rotation="0" x="0" y="0" />
    <TrackObject name="Straight" rotation="0" x="80" y="1" />
    <TrackObject name="Straight" rotation="0" x="1" y="-1" />
    <TrackObject name="Straight" rotation="0" x="-2147483648" y="2147483647" />
    <TrackObject name="Wide" rotation="2" x="79" y="1" />
    <TrackObject name="Wide" rotation="1" x="1" y="79" />
    <TrackObject name="Wide" rotation="1" x="79" y="78" />
    <TrackObject name="Straight" rotation="0" x="79" y="79" />
</Map>)");
    const std::string logPath = folder.path() + "debug.txt";
    LogStream::destroy();
    ASSERT_TRUE(LogStream::getInstance()->open(logPath));
    const MapEntries entries = XMLParser::getInstance()->loadMap(path, &known);
    LogStream::destroy();

    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].x, 0);
    EXPECT_EQ(entries[1].name, "Wide");
    EXPECT_EQ(entries[1].x, 79);
    EXPECT_EQ(entries[1].y, 78);
    EXPECT_EQ(entries[2].x, 79);
    EXPECT_EQ(entries[2].y, 79);
    const std::string log = TempFolder::read(logPath);
    for (const char* line : {": line 3: tile \"Straight\" at 80, 1 lies off the 80 x 80 grid, skipped",
                             ": line 4: tile \"Straight\" at 1, -1 lies off",
                             ": line 5: tile \"Straight\" at -2147483648, 2147483647 lies off",
                             ": line 6: tile \"Wide\" at 79, 1 reaches past the 80 x 80 grid, skipped",
                             ": line 7: tile \"Wide\" at 1, 79 reaches past"})
        EXPECT_NE(log.find(path + line), std::string::npos) << line << "\n" << log;
    EXPECT_EQ(log.find("line 8"), std::string::npos) << log;

    // Without the tile list only the cell itself is checked.
    EXPECT_EQ(XMLParser::getInstance()->loadMap(path).size(), 5u);
}

TEST(MapFile, SavesByteForByteAndReadsBack)
{
    const TrackObjectDesc straightDesc = describe("Straight", 1, 1, false);
    const TrackObjectDesc gateDesc = describe("Check\"point", 1, 1, true);
    EditorTrackObject gate(gateDesc, 1);
    gate.setCheckPointNumber(2);
    EditorTrackObject straight(straightDesc, 2);
    const PlacedEditorTiles tiles = {{&gate, {3.9f, 0.0f}}, {&straight, {79.0f, 12.5f}}};

    TempFolder folder;
    ASSERT_TRUE(XMLParser::getInstance()->saveMap(tiles, "Hills & Dale", "Hills", folder.path()));
    const std::string expected =
        "<Map name=\"Hills.map\" highscore=\"Hills.sde\" terrain=\"Hills &amp; Dale\">\n"
        "    <TrackObject name='Check&quot;point' rotation=\"1\" x=\"3\" y=\"0\" checkpoint=\"2\" />\n"
        "    <TrackObject name=\"Straight\" rotation=\"2\" x=\"79\" y=\"12\" />\n"
        "</Map>\n";
    EXPECT_EQ(TempFolder::read(folder.path() + "Hills.map"), expected);

    const MapEntries entries = XMLParser::getInstance()->loadMap(folder.path() + "Hills.map");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Check\"point");
    EXPECT_EQ(entries[0].checkpoint, 2);
    EXPECT_EQ(entries[0].rotation, 1);
    EXPECT_EQ(entries[1].checkpoint, -1) << "the reused element dropped the checkpoint";
    EXPECT_EQ(entries[1].x, 79);

    ASSERT_TRUE(XMLParser::getInstance()->saveMap({}, "Flat", "Empty", folder.path()));
    EXPECT_EQ(TempFolder::read(folder.path() + "Empty.map"),
              "<Map name=\"Empty.map\" highscore=\"Empty.sde\" terrain=\"Flat\" />\n");
}

TEST(MapFile, SaveRefusesUnsafeNamesAndKeepsTheOldFileOnFailure)
{
    TempFolder folder;
    const std::string names[] = {"", "../escape", "a/b", ".hidden", "dot.map", "tab\tname"};
    for (const auto& name : names)
        EXPECT_FALSE(XMLParser::getInstance()->saveMap({}, "Flat", name, folder.path())) << "'" << name << "'";
    EXPECT_TRUE(XMLParser::isSafeMapName("My Track-2_b"));

    const std::string old = folder.write("Kept.map", "<Map name=\"Kept.map\" />\n");
    const TrackObjectDesc desc = describe("Straight", 1, 1, false);
    const EditorTrackObject tile(desc, 0);
    EXPECT_FALSE(XMLParser::getInstance()->saveMap({{&tile, {80.0f, 0.0f}}}, "Flat", "Kept", folder.path()));
    EXPECT_EQ(TempFolder::read(old), "<Map name=\"Kept.map\" />\n") << "a tile off the grid writes nothing";

    if (geteuid() != 0)
    {
        chmod(folder.path().c_str(), 0500);
        EXPECT_FALSE(XMLParser::getInstance()->saveMap({}, "Flat", "Kept", folder.path()));
        chmod(folder.path().c_str(), 0700);
        EXPECT_EQ(TempFolder::read(old), "<Map name=\"Kept.map\" />\n");
    }
}

TEST(TerrainList, ReadsTerrainsKeepingTheLaterOfTwoNames)
{
    TempFolder folder;
    const std::string path = folder.write("t.xml", R"(<Terrains>
    <Terrain name="Hills" file="a.cfg" levelImage="a.png" />
    <Terrain levelImage="d.png" file="d.cfg" name="Desert" />
    <Terrain name="Hills" file="b.cfg" levelImage="b.png" />
</Terrains>)");
    TerrainDescs terrains = XMLParser::getInstance()->loadTerrainDescMap(path);
    ASSERT_EQ(terrains.size(), 2u);
    EXPECT_EQ(terrains.at("Hills").file, "b.cfg");
    EXPECT_EQ(terrains.at("Desert").levelImage, "d.png");

    const char* const message = "Unable to read terrain descriptions!";
    auto read = [](const std::string& p) { XMLParser::getInstance()->loadTerrainDescMap(p); };
    expectRefused(folder.write("r.xml", "<Terrain name=\"x\"/>"), read, message, "root element is <Terrain>",
                  "wrong root");
    expectRefused(folder.write("f.xml", "<Terrains><Terrain name=\"x\" levelImage=\"y\"/></Terrains>"), read, message,
                  "\"file\"", "no file");
    expectRefused(folder.path() + "none.xml", read, message, "No such file or directory", "missing file");
}
