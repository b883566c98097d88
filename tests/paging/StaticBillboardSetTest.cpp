// Static billboard sets on the offline engine: the baked mesh's vertices and indices, the
// material bookkeeping the per-frame update relies on, fading, the corner directions, and the
// compatible method. The programs themselves are compiled by glslangValidator.
#include "HeadlessOgre.h"
#include "TempFolder.h"
#include "paging/SpritePrograms.h"
#include "paging/StaticBillboardSet.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreBillboardSet.h>
#include <OGRE/OgreRenderSystemCapabilities.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace
{
struct Vertex
{
    float centre[3];
    float halfWidth, halfHeight, corner;
    uint32_t colour;
    float u, v;
};
static_assert(sizeof(Vertex) == 36, "the baked vertex layout");

class StaticBillboardSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sceneMgr = HeadlessOgre::createSceneManager();
        withPrograms.setCapability(Ogre::RSC_VERTEX_PROGRAM);
        for (const char* name : {"SBSTest/Leaves", "SBSTest/Bark"})
            if (!Ogre::MaterialManager::getSingleton().resourceExists(name, Ogre::RGN_DEFAULT))
                Ogre::MaterialManager::getSingleton().create(name, Ogre::RGN_DEFAULT);
    }
    void TearDown() override { HeadlessOgre::root().destroySceneManager(sceneMgr); }

    std::unique_ptr<StaticBillboardSet> accelerated()
    {
        return std::make_unique<StaticBillboardSet>(sceneMgr, BB_METHOD_ACCELERATED, &withPrograms);
    }
    static Ogre::MaterialPtr material(const char* name)
    {
        return Ogre::MaterialManager::getSingleton().getByName(name, Ogre::RGN_DEFAULT);
    }

    static std::vector<Vertex> vertices(const StaticBillboardSet& set)
    {
        const Ogre::VertexData& data = *set.getMesh()->getSubMesh(0)->vertexData;
        std::vector<Vertex> out(data.vertexCount);
        const auto& buffer = data.vertexBufferBinding->getBuffer(0);
        buffer->readData(0, out.size() * sizeof(Vertex), out.data());
        return out;
    }
    static std::vector<uint32_t> indices(const StaticBillboardSet& set)
    {
        const Ogre::IndexData& data = *set.getMesh()->getSubMesh(0)->indexData;
        std::vector<uint32_t> out(data.indexCount);
        const auto& buffer = data.indexBuffer;
        if (buffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT)
            buffer->readData(0, out.size() * 4, out.data());
        else
        {
            std::vector<uint16_t> narrow(data.indexCount);
            buffer->readData(0, narrow.size() * 2, narrow.data());
            std::copy(narrow.begin(), narrow.end(), out.begin());
        }
        return out;
    }

    Ogre::SceneManager* sceneMgr = nullptr;
    Ogre::RenderSystemCapabilities withPrograms;
};
}

TEST_F(StaticBillboardSetTest, BuildBakesFourCornersPerBillboardWithTheirCellsAndSizes)
{
    auto set = accelerated();
    ASSERT_EQ(set->getRenderMethod(), BB_METHOD_ACCELERATED);
    set->setMaterial("SBSTest/Leaves");
    set->setTextureStacksAndSlices(4, 8);
    set->createBillboard(Ogre::Vector3(1, 2, 3), 4.0f, 6.0f, Ogre::ColourValue::Red, 3, 2);
    set->createBillboard(Ogre::Vector3(-10, 0, 0), 2.0f, 2.0f, Ogre::ColourValue::White, 0, 0);
    set->createBillboard(Ogre::Vector3(0, 0, 20), 2.0f, 8.0f, Ogre::ColourValue::White, 7, 3);
    set->build();

    ASSERT_TRUE(set->getMesh());
    ASSERT_NE(set->getEntity(), nullptr);
    EXPECT_EQ(set->getWaitingCount(), 0u);
    EXPECT_EQ(set->getEntity()->getSubEntity(0)->getMaterialName(), "SBSTest/Leaves");

    const std::vector<Vertex> baked = vertices(*set);
    ASSERT_EQ(baked.size(), 12u);
    const std::vector<uint32_t> quads = indices(*set);
    ASSERT_EQ(quads.size(), 18u);
    EXPECT_EQ(std::vector<uint32_t>(quads.begin(), quads.begin() + 6), (std::vector<uint32_t>{0, 2, 1, 1, 2, 3}));
    EXPECT_EQ(std::vector<uint32_t>(quads.begin() + 12, quads.end()), (std::vector<uint32_t>{8, 10, 9, 9, 10, 11}));

    // Column 3, row 2 of an 8 x 4 atlas: (0.375, 0.5) to (0.5, 0.75), corners in reading order.
    const float expectedUv[4][2] = {{0.375f, 0.5f}, {0.5f, 0.5f}, {0.375f, 0.75f}, {0.5f, 0.75f}};
    const uint32_t red = Ogre::VertexElement::convertColourValue(
        Ogre::ColourValue::Red, Ogre::VertexElement::getBestColourVertexElementType());
    for (int corner = 0; corner < 4; ++corner)
    {
        SCOPED_TRACE(corner);
        const Vertex& v = baked[corner];
        EXPECT_EQ(Ogre::Vector3(v.centre), Ogre::Vector3(1, 2, 3));
        EXPECT_FLOAT_EQ(v.halfWidth, 2.0f);
        EXPECT_FLOAT_EQ(v.halfHeight, 3.0f);
        EXPECT_FLOAT_EQ(v.corner, static_cast<float>(corner));
        EXPECT_EQ(v.colour, red);
        EXPECT_FLOAT_EQ(v.u, expectedUv[corner][0]);
        EXPECT_FLOAT_EQ(v.v, expectedUv[corner][1]);
    }
    EXPECT_FLOAT_EQ(baked[11].u, 1.0f);
    EXPECT_FLOAT_EQ(baked[11].v, 1.0f);

    // Half the width reaches sideways both ways, half the height up and down.
    const Ogre::AxisAlignedBox& bounds = set->getMesh()->getBounds();
    EXPECT_LE(bounds.getMinimum().x, -11.0f);
    EXPECT_LE(bounds.getMinimum().y, -4.0f);
    EXPECT_GE(bounds.getMaximum().z, 21.0f);
    EXPECT_GE(bounds.getMaximum().y, 5.0f);
}

TEST_F(StaticBillboardSetTest, RebuildingReplacesTheMeshAndAnEmptyBuildLeavesNothing)
{
    auto set = accelerated();
    set->setMaterial("SBSTest/Leaves");
    set->createBillboard(Ogre::Vector3::ZERO, 1.0f, 1.0f);
    set->build();
    const std::string firstMesh = set->getMesh()->getName();
    set->createBillboard(Ogre::Vector3::ZERO, 1.0f, 1.0f);
    set->createBillboard(Ogre::Vector3::UNIT_X, 1.0f, 1.0f);
    set->build();
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists(firstMesh, Ogre::RGN_DEFAULT));
    EXPECT_EQ(vertices(*set).size(), 8u) << "only the billboards added since the last build";

    const std::string secondMesh = set->getMesh()->getName();
    set->build();
    EXPECT_FALSE(set->getMesh());
    EXPECT_EQ(set->getEntity(), nullptr);
    EXPECT_EQ(set->getSceneNode()->numAttachedObjects(), 0u);
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists(secondMesh, Ogre::RGN_DEFAULT));

    set->createBillboard(Ogre::Vector3::ZERO, 1.0f, 1.0f);
    set->clear();
    EXPECT_EQ(set->getWaitingCount(), 0u);
    set->build();
    EXPECT_FALSE(set->getMesh());
}

TEST_F(StaticBillboardSetTest, MoreBillboardsThanShortIndicesReachGetWideIndices)
{
    auto set = accelerated();
    set->setMaterial("SBSTest/Leaves");
    const size_t count = 16385;
    for (size_t k = 0; k < count; ++k)
        set->createBillboard(Ogre::Vector3(static_cast<float>(k), 0, 0), 1.0f, 1.0f);
    set->build();
    const std::vector<uint32_t> quads = indices(*set);
    ASSERT_EQ(quads.size(), 6 * count);
    EXPECT_EQ(set->getMesh()->getSubMesh(0)->indexData->indexBuffer->getType(),
              Ogre::HardwareIndexBuffer::IT_32BIT);
    EXPECT_EQ(quads.back(), 4 * count - 1) << "the last billboard's last corner, not a wrapped one";
}

TEST_F(StaticBillboardSetTest, SetsCountTheMaterialsTheyUseAndFadingSwapsTheCount)
{
    const Ogre::MaterialPtr leaves = material("SBSTest/Leaves");
    const Ogre::MaterialPtr bark = material("SBSTest/Bark");
    auto first = accelerated();
    auto second = accelerated();
    first->setMaterial("SBSTest/Leaves");
    second->setMaterial("SBSTest/Leaves");
    EXPECT_EQ(StaticBillboardSet::materialUseCount(leaves), 2u);
    second->setMaterial("SBSTest/Leaves");
    EXPECT_EQ(StaticBillboardSet::materialUseCount(leaves), 2u) << "the same name again changes nothing";

    second->setMaterial("SBSTest/Bark");
    EXPECT_EQ(StaticBillboardSet::materialUseCount(leaves), 1u);
    EXPECT_EQ(StaticBillboardSet::materialUseCount(bark), 1u);

    // Two sets with the same material and distances still fade with materials of their own.
    second->setMaterial("SBSTest/Leaves");
    first->setFade(true, 50.0f, 80.0f);
    second->setFade(true, 50.0f, 80.0f);
    ASSERT_TRUE(first->getFadeMaterial());
    EXPECT_NE(first->getFadeMaterial(), second->getFadeMaterial());
    EXPECT_EQ(StaticBillboardSet::materialUseCount(leaves), 0u);
    EXPECT_EQ(StaticBillboardSet::materialUseCount(first->getFadeMaterial()), 1u);
    if (Ogre::GpuProgramManager::getSingletonPtr())  // the offline engine runs no programs
    {
        EXPECT_EQ(first->getFadeMaterial()->getTechnique(0)->getPass(0)->getVertexProgramName(),
                  SpritePrograms::kSpriteFade);
    }
    EXPECT_TRUE(first->getFadeMaterial()->getTechnique(0)->getPass(0)->isTransparent());

    // A built set shows the fading material, and its own again when fading stops.
    first->createBillboard(Ogre::Vector3::ZERO, 1.0f, 1.0f);
    first->build();
    EXPECT_EQ(first->getEntity()->getSubEntity(0)->getMaterialName(), first->getFadeMaterial()->getName());
    const Ogre::MaterialPtr firstFade = first->getFadeMaterial();
    first->setFade(false, 0.0f, 0.0f);
    EXPECT_EQ(first->getEntity()->getSubEntity(0)->getMaterialName(), "SBSTest/Leaves");
    EXPECT_EQ(StaticBillboardSet::materialUseCount(firstFade), 0u);
    EXPECT_EQ(StaticBillboardSet::materialUseCount(leaves), 1u);

    first.reset();
    second.reset();
    EXPECT_EQ(StaticBillboardSet::materialUseCount(leaves), 0u);
    EXPECT_EQ(StaticBillboardSet::acceleratedInstanceCount(), 0u);
}

TEST_F(StaticBillboardSetTest, FadingOrBuildingWithoutAMaterialIsRefusedAndChangesNothing)
{
    auto set = accelerated();
    EXPECT_THROW(set->setFade(true, 10.0f, 20.0f), Ogre::ItemIdentityException);
    EXPECT_FALSE(set->isFadeEnabled());
    set->createBillboard(Ogre::Vector3::ZERO, 1.0f, 1.0f);
    EXPECT_THROW(set->build(), Ogre::Exception);
    EXPECT_EQ(set->getWaitingCount(), 1u);
    EXPECT_THROW(set->setMaterial("SBSTest/NoSuchMaterial"), Ogre::ItemIdentityException);
    EXPECT_FALSE(set->getMaterial());
}

TEST_F(StaticBillboardSetTest, CornersFaceTheCameraAndStayUpright)
{
    struct Case
    {
        const char* what;
        Ogre::Vector3 forward;
        Ogre::Vector3 right;
        Ogre::Vector3 up;
    };
    const float s = std::sqrt(0.5f);
    const Case cases[] = {
        {"looking down -z", {0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
        {"looking along +x", {1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {"looking 45 degrees down -z", {0, -s, -s}, {1, 0, 0}, {0, s, -s}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::vector<Ogre::Vector4> corners = StaticBillboardSet::cornerVectors(c.forward);
        ASSERT_EQ(corners.size(), 4u);
        const Ogre::Vector3 expected[4] = {-c.right + c.up, c.right + c.up, -c.right - c.up, c.right - c.up};
        for (int k = 0; k < 4; ++k)
        {
            EXPECT_TRUE(corners[k].xyz().positionEquals(expected[k], 1e-5f)) << "corner " << k;
            EXPECT_EQ(corners[k].w, 0.0f);
        }
    }
}

TEST_F(StaticBillboardSetTest, WithoutVertexProgramsTheEngineSetDrawsAndFadingIsIgnored)
{
    const Ogre::RenderSystemCapabilities none;
    StaticBillboardSet set(sceneMgr, BB_METHOD_ACCELERATED, &none);
    ASSERT_EQ(set.getRenderMethod(), BB_METHOD_COMPATIBLE);
    ASSERT_NE(set.getCompatibleSet(), nullptr);
    set.setMaterial("SBSTest/Bark");
    set.setTextureStacksAndSlices(4, 8);
    set.createBillboard(Ogre::Vector3(5, 6, 7), 3.0f, 4.0f, Ogre::ColourValue::Blue, 3, 2);
    set.setFade(true, 10.0f, 20.0f);
    EXPECT_FALSE(set.isFadeEnabled());

    Ogre::BillboardSet& engineSet = *set.getCompatibleSet();
    ASSERT_EQ(engineSet.getNumBillboards(), 1);
    Ogre::Billboard& billboard = *engineSet.getBillboard(0);
    EXPECT_EQ(billboard.getPosition(), Ogre::Vector3(5, 6, 7));
    EXPECT_FLOAT_EQ(billboard.getOwnWidth(), 3.0f);
    EXPECT_FLOAT_EQ(billboard.getOwnHeight(), 4.0f);
    EXPECT_EQ(billboard.getColour(), Ogre::ColourValue::Blue);
    const Ogre::FloatRect& cell = billboard.getTexcoordRect();
    EXPECT_FLOAT_EQ(cell.left, 0.375f);
    EXPECT_FLOAT_EQ(cell.top, 0.5f);
    EXPECT_FLOAT_EQ(cell.right, 0.5f);
    EXPECT_FLOAT_EQ(cell.bottom, 0.75f);
    EXPECT_EQ(engineSet.getMaterialName(), "SBSTest/Bark");
    set.clear();
    EXPECT_EQ(engineSet.getNumBillboards(), 0);
}

// The engine compiles the programs only on a GL context; the reference compiler checks them
// here, so a broken program shows up without a window.
TEST(SpriteProgramsTest, BothProgramsCompileAsGlsl120AndDeclareTheirUniforms)
{
    struct Case
    {
        const char* file;
        std::string source;
        std::vector<const char*> uniforms;
    };
    const Case cases[] = {
        {"Sprite_vp.vert", SpritePrograms::spriteSource(), {"worldViewProj", "uScroll", "vScroll", "preRotatedQuad"}},
        {"SpriteFade_vp.vert", SpritePrograms::spriteFadeSource(),
         {"worldViewProj", "camPos", "fadeGap", "invisibleDist", "uScroll", "vScroll", "preRotatedQuad"}},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(c.source.rfind("#version 120\n", 0), 0u);
        for (const char* uniform : c.uniforms)
        {
            const std::string name = std::string(" ") + uniform;
            EXPECT_TRUE(c.source.find(name + ";") != std::string::npos ||
                        c.source.find(name + "[") != std::string::npos)
                << uniform << " is declared";
        }
        const std::string path = folder.write(c.file, c.source);
        const std::string log = folder.path() + "glslang.log";
        const std::string command = "glslangValidator " + path + " > " + log + " 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_EQ(status, 0) << TempFolder::read(log)
                             << "(glslangValidator comes with glslang-tools, installed by tools/setup.sh)";
    }
}
