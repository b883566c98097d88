// Reading the tile list and tile descriptions: the format's quirks and every refusal.
#include "XMLParser.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
const char* const kFullTile = R"(<TrackObject name="Bend" width="2" height="1" x="3" y="4" page="1" checkpoint="false">
    <Picture>bend.png</Picture>
    <Meshes>
        <Graphic><North>n.mesh</North><East>e.mesh</East><South>s.mesh</South><West>w.mesh</West></Graphic>
        <Physic smooth="True">road.mesh</Physic>
        <Physic smooth="yes">verge.mesh</Physic>
        <Physic>kerb.mesh</Physic>
    </Meshes>
    <Points>
        <Point name="in" x="0" y="0.1" z="0.5" />
        <Point name="out" x="2" z="0.5" width="0.7" />
        <Point x="1" z="0.5" />
    </Points>
    <Lines>
        <Line searchdirection="X_PLUS"><P>in</P><P>out</P></Line>
        <Line><P>out</P><P>in</P></Line>
    </Lines>
    <Vegetation><Rect x1="5" y1="7" x2="2" y2="3" /></Vegetation>
    <LightMap automatic="true" />
</TrackObject>
)";

std::string tile(const std::string& rootAttributes, const std::string& body)
{
    return "<TrackObject " + rootAttributes + ">\n<Picture>p.png</Picture>\n" + body + "</TrackObject>\n";
}

const std::string kPlainMeshes = "<Meshes><Graphic>g.mesh</Graphic></Meshes>\n";
const std::string kBasics = R"(name="T" width="1" height="1" x="0" y="0")";
}

TEST(TileDescription, ReadsEveryPartOfADescription)
{
    TempFolder folder;
    const auto desc = XMLParser::getInstance()->loadTrackObjectDesc(folder.write("bend.xml", kFullTile));
    EXPECT_EQ(desc->name, "Bend");
    EXPECT_EQ(desc->width, 2);
    EXPECT_EQ(desc->height, 1);
    EXPECT_EQ(desc->selectorX, 3);
    EXPECT_EQ(desc->selectorPage, 1);
    EXPECT_TRUE(desc->checkpoint) << "presence sets the flag, whatever the value";
    EXPECT_FALSE(desc->start);
    EXPECT_EQ(desc->pictureName, "bend.png");
    EXPECT_TRUE(desc->perDirectionGraphic);
    EXPECT_EQ(desc->graphicMeshes[3], "w.mesh");
    EXPECT_EQ(desc->smoothPhysicMeshes.at(0), std::vector<std::string>({"road.mesh"}));
    EXPECT_EQ(desc->physicMeshes.at(0), std::vector<std::string>({"verge.mesh", "kerb.mesh"}));
    EXPECT_FALSE(desc->perDirectionPhysic);
    ASSERT_EQ(desc->points.size(), 2u) << "a point without a name is dropped";
    EXPECT_FLOAT_EQ(desc->points.at("in").width, 0.5f) << "default width";
    EXPECT_FLOAT_EQ(desc->points.at("in").y, 0.1f);
    EXPECT_FLOAT_EQ(desc->points.at("out").width, 0.7f);
    ASSERT_EQ(desc->lines.size(), 2u);
    EXPECT_EQ(desc->lines[0].searchDirection, 1);
    EXPECT_EQ(desc->lines[1].searchDirection, 0) << "no searchdirection searches towards -z";
    EXPECT_EQ(desc->lines[1].pointNames, std::vector<std::string>({"out", "in"}));
    ASSERT_EQ(desc->vegetation.size(), 1u);
    EXPECT_EQ(desc->vegetation[0].x1, 2.0f);
    EXPECT_EQ(desc->vegetation[0].y1, 3.0f);
    EXPECT_EQ(desc->vegetation[0].x2, 5.0f);
    EXPECT_EQ(desc->vegetation[0].y2, 7.0f);
    EXPECT_TRUE(desc->automaticLightMap);
}

TEST(TileDescription, PerDirectionPhysicsFollowTheLastPhysicElement)
{
    TempFolder folder;
    const auto desc = XMLParser::getInstance()->loadTrackObjectDesc(folder.write(
        "t.xml", tile(kBasics, "<Meshes><Graphic>g.mesh</Graphic>"
                               "<Physic><North>a</North><East>b</East><South>c</South><West>d</West></Physic>"
                               "</Meshes>")));
    EXPECT_TRUE(desc->perDirectionPhysic);
    EXPECT_EQ(desc->physicMeshes.at(2), std::vector<std::string>({"c"}));
    EXPECT_FALSE(desc->perDirectionGraphic);
    EXPECT_EQ(desc->graphicMeshes[0], "g.mesh");
}

TEST(TileDescription, AnEraserNeedsNoMeshes)
{
    TempFolder folder;
    const auto desc = XMLParser::getInstance()->loadTrackObjectDesc(
        folder.write("clear.xml", tile(kBasics + R"( clear="false")", "<Lines><L><P>x</P></L></Lines>")));
    EXPECT_TRUE(desc->clear);
    EXPECT_TRUE(desc->lines.empty()) << "nothing after the picture is read for an eraser";
}

TEST(TileDescription, RefusesBadDescriptionsNamingFileAndFault)
{
    struct Case
    {
        const char* what;
        std::string content;
        const char* expectedProblem;
    };
    const Case cases[] = {
        {"not XML", "<TrackObject name=", "Error"},
        {"wrong root", "<Tile name=\"T\"/>", "root element is <Tile>"},
        {"no name", tile(R"(width="1" height="1" x="0" y="0")", kPlainMeshes), "\"name\""},
        {"no width", tile(R"(name="T" height="1" x="0" y="0")", kPlainMeshes), "\"width\" of <TrackObject> is missing"},
        {"no height", tile(R"(name="T" width="1" x="0" y="0")", kPlainMeshes), "\"height\""},
        {"no selector x", tile(R"(name="T" width="1" height="1" y="0")", kPlainMeshes), "\"x\""},
        {"no selector y", tile(R"(name="T" width="1" height="1" x="0")", kPlainMeshes), "\"y\""},
        {"width 0", tile(R"(name="T" width="0" height="1" x="0" y="0")", kPlainMeshes), "outside 1..80"},
        {"height not a number", tile(R"(name="T" width="1" height="one" x="0" y="0")", kPlainMeshes),
         "not a whole number"},
        {"no picture", "<TrackObject " + kBasics + ">" + kPlainMeshes + "</TrackObject>", "<Picture> is missing"},
        {"no meshes", tile(kBasics, ""), "<Meshes> is missing"},
        {"no graphic", tile(kBasics, "<Meshes/>"), "<Graphic> is missing"},
        {"North without West",
         tile(kBasics, "<Meshes><Graphic><North>a</North><East>b</East><South>c</South></Graphic></Meshes>"),
         "<West> is missing"},
        {"empty physic", tile(kBasics, "<Meshes><Graphic>g</Graphic><Physic/></Meshes>"), "<Physic> has no text"},
        {"point off the tile", tile(kBasics, kPlainMeshes + "<Points><P name=\"a\" x=\"1.5\"/></Points>"),
         "\"x\" of <P> is \"1.5\", outside 0..1"},
        {"point not finite", tile(kBasics, kPlainMeshes + "<Points><P name=\"a\" y=\"nan\"/></Points>"),
         "not a number"},
        {"empty point name in a line", tile(kBasics, kPlainMeshes + "<Lines><L><P/></L></Lines>"), "has no text"},
        {"vegetation past the tile", tile(kBasics, kPlainMeshes + "<Vegetation><R x2=\"9\"/></Vegetation>"),
         "outside 0..8"},
    };
    TempFolder folder;
    for (const auto& c : cases)
    {
        const std::string path = folder.write("bad.xml", c.content);
        try
        {
            XMLParser::getInstance()->loadTrackObjectDesc(path);
            ADD_FAILURE() << c.what << ": accepted";
        }
        catch (const DataFileError& error)
        {
            EXPECT_EQ(error.getFile(), path) << c.what;
            EXPECT_EQ(error.getMessage(), "Unable to read track object description!") << c.what;
            EXPECT_NE(std::string(error.what()).find(c.expectedProblem), std::string::npos)
                << c.what << ": " << error.what();
        }
    }
}

TEST(TileList, LoadsEveryListedDescriptionKeepingTheLaterOfTwoNames)
{
    TempFolder folder;
    const std::string first = folder.write("a.xml", tile(R"(name="Same" width="1" height="1" x="1" y="0")", kPlainMeshes));
    const std::string second = folder.write("b.xml", tile(R"(name="Same" width="1" height="1" x="2" y="0")", kPlainMeshes));
    const std::string other = folder.write("c.xml", tile(R"(name="Other" width="1" height="1" x="3" y="0")", kPlainMeshes));
    const std::string list = folder.write(
        "list.xml", "<TrackObjects><Name>" + first + "</Name><Name>" + second + "</Name><Name>" + other +
                        "</Name></TrackObjects>");
    auto descs = XMLParser::getInstance()->loadTrackObjectDescs(list);
    ASSERT_EQ(descs.size(), 2u);
    EXPECT_EQ(descs.at("Same")->selectorX, 2);
    EXPECT_EQ(descs.begin()->first, "Other") << "ordered by name";
    XMLParser::getInstance()->deleteTrackObjectDescs(descs);
    EXPECT_TRUE(descs.empty());
}

TEST(TileList, RefusesAMissingListWrongRootOrBadEntry)
{
    TempFolder folder;
    struct Case
    {
        const char* what;
        std::string path;
        const char* expectedFile;
        const char* expectedProblem;
    };
    const std::string missingDesc = folder.path() + "missing.xml";
    const Case cases[] = {
        {"missing list", folder.path() + "nothing.xml", "nothing.xml", "No such file or directory"},
        {"wrong root", folder.write("l1.xml", "<TrackObject/>"), "l1.xml", "root element is <TrackObject>"},
        {"empty name", folder.write("l2.xml", "<TrackObjects><Name/></TrackObjects>"), "l2.xml", "has no text"},
        {"missing description", folder.write("l3.xml", "<TrackObjects><Name>" + missingDesc + "</Name></TrackObjects>"),
         "missing.xml", "No such file or directory"},
    };
    for (const auto& c : cases)
    {
        try
        {
            XMLParser::getInstance()->loadTrackObjectDescs(c.path);
            ADD_FAILURE() << c.what << ": accepted";
        }
        catch (const DataFileError& error)
        {
            EXPECT_NE(error.getFile().find(c.expectedFile), std::string::npos) << c.what << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(c.expectedProblem), std::string::npos)
                << c.what << ": " << error.what();
        }
    }
}
