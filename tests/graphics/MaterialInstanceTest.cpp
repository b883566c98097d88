// Material clones of entities: fading, recolouring, clone names and clean removal.
#include "graphics/EntityMaterialInstance.h"
#include "graphics/EntityMaterialInstancePlus.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const char* const kBodyMaterial = "Test/Body";
const char* const kGlassMaterial = "Test/Glass";
const Ogre::ColourValue kBodyDiffuse(0.8f, 0.6f, 0.4f, 0.9f);
const Ogre::ColourValue kBodyAmbient(0.5f, 0.25f, 0.125f, 1.0f);
const Ogre::ColourValue kBodySpecular(0.2f, 0.4f, 0.6f, 0.7f);

size_t materialCount()
{
    size_t count = 0;
    auto iterator = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (iterator.hasMoreElements())
    {
        iterator.moveNext();
        ++count;
    }
    return count;
}

// A material of two passes, so that "every pass" is tested.
void makeMaterial(const std::string& name, const Ogre::ColourValue& diffuse)
{
    auto& manager = Ogre::MaterialManager::getSingleton();
    if (manager.resourceExists(name))
        return;
    Ogre::MaterialPtr material = manager.create(name, Ogre::RGN_DEFAULT);
    Ogre::Technique* technique = material->getTechnique(0);
    technique->createPass();
    for (Ogre::Pass* pass : technique->getPasses())
    {
        pass->setDiffuse(diffuse);
        pass->setAmbient(kBodyAmbient);
        pass->setSpecular(kBodySpecular);
    }
}

// A mesh of one triangle per part, each part with its own material.
Ogre::MeshPtr makeMesh(const std::string& name, const std::vector<std::string>& materials)
{
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(name, Ogre::RGN_DEFAULT);
    for (const std::string& material : materials)
    {
        Ogre::SubMesh* part = mesh->createSubMesh();
        part->useSharedVertices = false;
        part->vertexData = new Ogre::VertexData();
        part->vertexData->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
        auto buffer = Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
            12, 3, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        const float positions[] = {0, 0, 0, 1, 0, 0, 0, 0, 1};
        buffer->writeData(0, sizeof(positions), positions);
        part->vertexData->vertexBufferBinding->setBinding(0, buffer);
        part->vertexData->vertexCount = 3;
        part->setMaterialName(material);
    }
    mesh->_setBounds(Ogre::AxisAlignedBox(0, 0, 0, 1, 1, 1));
    mesh->load();
    return mesh;
}

class MaterialInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HeadlessOgre::root();
        makeMaterial(kBodyMaterial, kBodyDiffuse);
        makeMaterial(kGlassMaterial, Ogre::ColourValue(0.1f, 0.2f, 0.3f, 0.5f));
        materialsBefore = materialCount();
        scene = HeadlessOgre::createSceneManager();
        mesh = makeMesh("car" + std::to_string(meshCounter++) + ".mesh", {kBodyMaterial, kBodyMaterial, kGlassMaterial});
        entity = scene->createEntity(mesh);
    }
    void TearDown() override
    {
        Ogre::Root::getSingleton().destroySceneManager(scene);
        Ogre::MeshManager::getSingleton().remove(mesh);
        mesh.reset();
        EXPECT_EQ(materialCount(), materialsBefore) << "every clone is removed";
    }

    std::vector<std::string> shownMaterials() const
    {
        std::vector<std::string> names;
        for (size_t i = 0; i < entity->getNumSubEntities(); ++i)
            names.push_back(entity->getSubEntity(i)->getMaterialName());
        return names;
    }

    static std::vector<Ogre::Pass*> passesOf(const Ogre::MaterialPtr& material)
    {
        return material->getTechnique(0)->getPasses();
    }

    static int meshCounter;
    size_t materialsBefore = 0;
    Ogre::SceneManager* scene = nullptr;
    Ogre::MeshPtr mesh;
    Ogre::Entity* entity = nullptr;
};
int MaterialInstanceTest::meshCounter = 0;

void expectColour(const Ogre::ColourValue& actual, const Ogre::ColourValue& expected, const std::string& what)
{
    EXPECT_NEAR(actual.r, expected.r, 1e-6f) << what;
    EXPECT_NEAR(actual.g, expected.g, 1e-6f) << what;
    EXPECT_NEAR(actual.b, expected.b, 1e-6f) << what;
    EXPECT_NEAR(actual.a, expected.a, 1e-6f) << what;
}
}

TEST_F(MaterialInstanceTest, FadingClonesOnlyWhenTransparent)
{
    const std::vector<std::string> original = shownMaterials();
    {
        EntityMaterialInstance fade(entity);
        ASSERT_EQ(fade.getInstances().size(), 3u);
        fade.setTransparency(0.0f);
        EXPECT_EQ(materialCount(), materialsBefore) << "no clone while opaque";
        EXPECT_EQ(shownMaterials(), original);

        fade.setTransparency(0.6f);
        EXPECT_EQ(materialCount(), materialsBefore + 3);
        const std::vector<std::string> shown = shownMaterials();
        for (size_t i = 0; i < shown.size(); ++i)
        {
            const auto& instance = *fade.getInstances()[i];
            EXPECT_EQ(shown[i], instance.getCopy()->getName());
            EXPECT_EQ(shown[i].rfind(original[i], 0), 0u) << "the base name with a random suffix";
            EXPECT_GT(shown[i].size(), original[i].size());
        }
        EXPECT_NE(shown[0], shown[1]) << "two clones of one material get different names";

        for (Ogre::Pass* pass : passesOf(fade.getInstances()[0]->getCopy()))
        {
            expectColour(pass->getDiffuse(), Ogre::ColourValue(0.8f, 0.6f, 0.4f, 0.4f * 0.9f), "alpha fades");
            expectColour(pass->getAmbient(), kBodyAmbient, "ambient of the base");
            EXPECT_FALSE(pass->getDepthWriteEnabled());
            EXPECT_EQ(pass->getSourceBlendFactor(), Ogre::SBF_SOURCE_ALPHA);
            EXPECT_EQ(pass->getDestBlendFactor(), Ogre::SBF_ONE_MINUS_SOURCE_ALPHA);
        }
        for (Ogre::Pass* pass : passesOf(fade.getInstances()[0]->getBase()))
            expectColour(pass->getDiffuse(), kBodyDiffuse, "the base material is untouched");

        fade.setTransparency(1.7f);
        EXPECT_EQ(fade.getTransparency(), 1.0f);
        EXPECT_EQ(passesOf(fade.getInstances()[2]->getCopy())[1]->getDiffuse().a, 0.0f) << "fully faded";

        fade.setTransparency(-0.3f);
        EXPECT_EQ(fade.getTransparency(), 0.0f);
        EXPECT_EQ(shownMaterials(), original) << "opaque again shows the base";
        EXPECT_EQ(materialCount(), materialsBefore + 3) << "the clones live on until the instance goes";
    }
    EXPECT_EQ(shownMaterials(), original) << "deleting restores every sub-entity";
    EXPECT_EQ(materialCount(), materialsBefore);
}

TEST_F(MaterialInstanceTest, AdditiveClonesFadeByDarkening)
{
    EntityMaterialInstance fade(entity);
    fade.setSceneBlending(Ogre::SBT_ADD);
    fade.setTransparency(0.6f);
    for (Ogre::Pass* pass : passesOf(fade.getInstances()[0]->getCopy()))
    {
        expectColour(pass->getDiffuse(), Ogre::ColourValue(0.4f * 0.8f, 0.4f * 0.6f, 0.4f * 0.4f, 0.9f), "darker");
        expectColour(pass->getAmbient(), Ogre::ColourValue::Black, "no ambient");
        EXPECT_EQ(pass->getSourceBlendFactor(), Ogre::SBF_ONE);
        EXPECT_EQ(pass->getDestBlendFactor(), Ogre::SBF_ONE);
    }

    // Changing the blending of an existing clone changes every pass.
    fade.setSceneBlending(Ogre::SBT_MODULATE);
    for (Ogre::Pass* pass : passesOf(fade.getInstances()[1]->getCopy()))
    {
        EXPECT_EQ(pass->getSourceBlendFactor(), Ogre::SBF_DEST_COLOUR);
        EXPECT_EQ(pass->getDestBlendFactor(), Ogre::SBF_ZERO);
    }
}

TEST_F(MaterialInstanceTest, ANewMaterialIsClonedAgainWhileFaded)
{
    EntityMaterialInstance fade(entity);
    fade.setTransparency(0.5f);
    const std::string oldClone = fade.getInstances()[0]->getCopy()->getName();
    fade.setMaterialName(kGlassMaterial);
    EXPECT_FALSE(Ogre::MaterialManager::getSingleton().resourceExists(oldClone)) << "the old clone is removed";
    EXPECT_EQ(materialCount(), materialsBefore + 3);
    for (const auto& instance : fade.getInstances())
    {
        EXPECT_EQ(instance->getBase()->getName(), kGlassMaterial);
        EXPECT_NEAR(passesOf(instance->getCopy())[0]->getDiffuse().a, 0.25f, 1e-6f);
    }
    for (const std::string& shown : shownMaterials())
        EXPECT_EQ(shown.rfind(kGlassMaterial, 0), 0u);
}

TEST_F(MaterialInstanceTest, RecolouredClonesArePrefixedAndNeverStackSuffixes)
{
    const std::vector<std::string> original = shownMaterials();
    {
        EntityMaterialInstancePlus shade("RacerShadowMaterial", entity);
        EXPECT_EQ(materialCount(), materialsBefore + 3) << "cloned at construction";
        const std::vector<std::string> shown = shownMaterials();
        EXPECT_EQ(shown[0], std::string("RacerShadowMaterial") + kBodyMaterial) << "prefix + name while free";
        EXPECT_EQ(shown[2], std::string("RacerShadowMaterial") + kGlassMaterial);
        const std::string stem = std::string("RacerShadowMaterial") + kBodyMaterial;
        ASSERT_EQ(shown[1].rfind(stem, 0), 0u);
        const std::string suffix = shown[1].substr(stem.size());
        EXPECT_FALSE(suffix.empty()) << "taken: one random suffix";
        EXPECT_EQ(suffix.find_first_not_of("0123456789.e-"), std::string::npos) << suffix;

        // A third clone of the same name also carries exactly one suffix.
        EntityMaterialInstancePlus again("RacerShadowMaterial", scene->createEntity(mesh));
        const std::string third = again.getInstances()[0]->getCopy()->getName();
        EXPECT_NE(third, shown[0]);
        EXPECT_NE(third, shown[1]);
        EXPECT_LT(third.size(), stem.size() + 12) << third;
    }
    EXPECT_EQ(shownMaterials(), original);
}

TEST_F(MaterialInstanceTest, ColourFactorsScaleTheBaseNotTheClone)
{
    EntityMaterialInstancePlus shade("Racer", entity);
    shade.setDiffuse(0.5f);
    shade.setDiffuse(0.5f);
    shade.setSpecular(2.0f);
    shade.setAmbient(0.0f);
    for (Ogre::Pass* pass : passesOf(shade.getInstances()[0]->getCopy()))
    {
        expectColour(pass->getDiffuse(), Ogre::ColourValue(0.4f, 0.3f, 0.2f, 0.9f), "half, not a quarter");
        expectColour(pass->getSpecular(), Ogre::ColourValue(0.4f, 0.8f, 1.2f, 0.7f), "alpha of the base stays");
        expectColour(pass->getAmbient(), Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f), "ambient");
    }
}
