// Terrain files and heightmaps: the settings a page is built from, the errors that name the
// file and key at fault, the CustomMaterialName rewrite, and 16-bit heightmap decoding.
#include "track/DataFileError.h"
#include "track/HeightmapImage.h"
#include "track/TerrainConfig.h"

#include "support/TerrainFiles.h"

#include <gtest/gtest.h>
#include <png.h>

namespace
{
const std::string kValidFile = "# gentle hills\n"
                               "WorldTexture=Grass_colour.png\n"
                               "  DetailTexture = Grass_detail.png  \n"
                               "DetailTile=64\n"
                               "PageSource=Heightmap\n"
                               "Heightmap.image=Grass_height.png\n"
                               "PageSize=257\n"
                               "TileSize=33\n"
                               "PageWorldX=3072\n"
                               "PageWorldZ=1536\n"
                               "MaxHeight=180\n"
                               "\n"
                               "CustomMaterialName=Terrain/Grass\n";
}

TEST(TerrainConfig, ReadsThePageAndItsLook)
{
    const TerrainOptions options = TerrainConfig::parse(kValidFile, "Grass.cfg");
    EXPECT_EQ(options.pageSize, 257u);
    EXPECT_EQ(options.tileSize, 33u);
    EXPECT_FLOAT_EQ(options.scale.x, 12.0f);  // 3072 world units over 256 quads
    EXPECT_FLOAT_EQ(options.scale.z, 6.0f);
    EXPECT_FLOAT_EQ(options.scale.y, 180.0f);
    EXPECT_EQ(options.heightmapImage, "Grass_height.png");
    EXPECT_EQ(options.worldTexture, "Grass_colour.png");
    EXPECT_EQ(options.detailTexture, "Grass_detail.png");
    EXPECT_FLOAT_EQ(options.detailTile, 64.0f);
    EXPECT_EQ(options.customMaterialName, "Terrain/Grass");
}

TEST(TerrainConfig, SmallPagesAreOneRenderTile)
{
    const TerrainOptions options = TerrainConfig::parse("Heightmap.image=h.png\nPageSize=17\n", "Small.cfg");
    EXPECT_EQ(options.tileSize, 17u);
    EXPECT_FLOAT_EQ(options.scale.x, 1000.0f / 16);
    EXPECT_TRUE(options.customMaterialName.empty());
}

TEST(TerrainConfig, RefusesBadFilesNamingFileAndKey)
{
    struct Case
    {
        const char* what;
        std::string text;
        const char* mentioned;  // the key or line the message must name
    };
    const std::string heightmap = "Heightmap.image=h.png\n";
    const Case cases[] = {
        {"no page size", heightmap + "MaxHeight=10\n", "PageSize"},
        {"empty page size", heightmap + "PageSize=\n", "PageSize"},
        {"page size not 2^k + 1", heightmap + "PageSize=256\n", "PageSize"},
        {"page size of one sample", heightmap + "PageSize=1\n", "PageSize"},
        {"page size not a number", heightmap + "PageSize=big\n", "PageSize"},
        {"page size too large", heightmap + "PageSize=8193\n", "PageSize"},
        {"tile larger than the page", heightmap + "PageSize=65\nTileSize=129\n", "TileSize"},
        {"no heightmap", "PageSize=257\n", "Heightmap.image"},
        {"negative world size", heightmap + "PageSize=257\nPageWorldX=-5\n", "PageWorldX"},
        {"height not a number", heightmap + "PageSize=257\nMaxHeight=tall\n", "MaxHeight"},
        {"zero detail tiling", heightmap + "PageSize=257\nDetailTile=0\n", "DetailTile"},
        {"line without a value", heightmap + "PageSize=257\nMaxHeight\n", "line 3"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        try
        {
            TerrainConfig::parse(c.text, "Broken.cfg");
            ADD_FAILURE() << "accepted";
        }
        catch (const DataFileError& error)
        {
            EXPECT_EQ(error.getFile(), "Broken.cfg");
            EXPECT_EQ(error.getMessage(), TerrainConfig::kReadError);
            EXPECT_NE(error.getProblem().find(c.mentioned), std::string::npos) << error.what();
        }
    }
}

TEST(TerrainConfig, CustomMaterialRewrite)
{
    struct Case
    {
        const char* what;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"replaces the material", "PageSize=257\nCustomMaterialName=Terrain/Grass\nMaxHeight=5",
         "PageSize=257\nCustomMaterialName=LightMap3\nMaxHeight=5\n"},
        {"trims every line and keeps what stands before the key", "  PageSize=257 \r\n\t#CustomMaterialName = Old\n",
         "PageSize=257\n#CustomMaterialName=LightMap3\n"},
        {"adds no key to a file without one", "PageSize=257\n\nMaxHeight=5\n", "PageSize=257\n\nMaxHeight=5\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TerrainConfig::withCustomMaterial(c.text, "LightMap3"), c.expected) << c.what;

    const std::string rewritten = TerrainConfig::withCustomMaterial(kValidFile, "LightMap3");
    EXPECT_EQ(TerrainConfig::parse(rewritten, "Grass.cfg").customMaterialName, "LightMap3");
    EXPECT_EQ(TerrainConfig::parse(rewritten, "Grass.cfg").pageSize, 257u);
}

TEST(HeightmapImage, DecodesSixteenBitSamplesRowByRow)
{
    // Rows of 3: the samples differ in their low byte too, which an 8-bit path would lose.
    const std::vector<uint16_t> samples = {0, 1, 65535, 32768, 258, 4096, 65534, 100, 7};
    const std::vector<float> heights =
        HeightmapImage::decode(TerrainFiles::encodeHeightmap(3, 3, samples), "h.png", 3);
    ASSERT_EQ(heights.size(), 9u);
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_FLOAT_EQ(heights[i], samples[i] / 65535.0f) << "sample " << i;
}

TEST(HeightmapImage, RefusesWhatIsNotTheHeightmapTheTerrainNeeds)
{
    const std::string good = TerrainFiles::encodeHeightmap(5, 5, std::vector<uint16_t>(25, 1000));
    png_image eightBit{};
    eightBit.version = PNG_IMAGE_VERSION;
    eightBit.width = eightBit.height = 5;
    eightBit.format = PNG_FORMAT_GRAY;
    std::string eightBitBytes(1000, '\0');
    png_alloc_size_t size = eightBitBytes.size();
    const std::vector<uint8_t> grey(25, 7);
    ASSERT_TRUE(png_image_write_to_memory(&eightBit, eightBitBytes.data(), &size, 0, grey.data(), 0, nullptr));
    eightBitBytes.resize(size);

    struct Case
    {
        const char* what;
        std::string bytes;
        unsigned size;
        const char* mentioned;
    };
    const Case cases[] = {
        {"wrong size", good, 9, "5 x 5"},
        {"8-bit grey", eightBitBytes, 5, "16-bit"},
        {"not a PNG", "PageSize=257\n", 5, "not a PNG"},
        {"empty", "", 5, "not a PNG"},
        {"cut short", good.substr(0, good.size() / 2), 5, "damaged"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        try
        {
            HeightmapImage::decode(c.bytes, "Hills_height.png", c.size);
            ADD_FAILURE() << "accepted";
        }
        catch (const DataFileError& error)
        {
            EXPECT_EQ(error.getFile(), "Hills_height.png");
            EXPECT_NE(error.getProblem().find(c.mentioned), std::string::npos) << error.what();
        }
    }
}
