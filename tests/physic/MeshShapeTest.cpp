// Collision meshes cooked from entities built in memory by the engine, without a window.
#include "physic/getMeshVertices.h"
#include "physic/meshShapeSR.h"
#include "platform/physics/world.h"
#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
// The engine only keeps material names that exist as materials.
void defineMaterials()
{
    HeadlessOgre::root();
    for (const char* name : {"asphalt", "grass", "chrome"})
        if (!Ogre::MaterialManager::getSingleton().resourceExists(name))
            Ogre::MaterialManager::getSingleton().create(name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
}

// Two unit squares side by side at height y (x from -1 to 0 and 0 to 1), one per section,
// each with its own material.
Ogre::MeshPtr twoSquareMesh(const std::string& name, float y)
{
    Ogre::SceneManager* manager = HeadlessOgre::createSceneManager();
    Ogre::ManualObject* object = manager->createManualObject();
    const char* materials[2] = {"asphalt", "grass"};
    for (int section = 0; section < 2; ++section)
    {
        const float x0 = section == 0 ? -1.0f : 0.0f;
        object->begin(materials[section], Ogre::RenderOperation::OT_TRIANGLE_LIST);
        object->position(x0, y, -0.5f);
        object->position(x0 + 1, y, -0.5f);
        object->position(x0 + 1, y, 0.5f);
        object->position(x0, y, 0.5f);
        object->triangle(0, 2, 1);
        object->triangle(0, 3, 2);
        object->end();
    }
    Ogre::MeshPtr mesh = object->convertToMesh(name);
    manager->destroyManualObject(object);
    HeadlessOgre::root().destroySceneManager(manager);
    return mesh;
}

// The same two squares, both sub-meshes indexing one shared vertex block.
Ogre::MeshPtr sharedVertexMesh(const std::string& name)
{
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(
        name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    mesh->sharedVertexData = new Ogre::VertexData();
    Ogre::VertexData& vertices = *mesh->sharedVertexData;
    vertices.vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    const float points[] = {-1, 0, -0.5f, 0, 0, -0.5f, 1, 0, -0.5f, -1, 0, 0.5f, 0, 0, 0.5f, 1, 0, 0.5f};
    vertices.vertexCount = 6;
    Ogre::HardwareVertexBufferSharedPtr buffer = Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
        3 * sizeof(float), 6, Ogre::HardwareBuffer::HBU_STATIC);
    buffer->writeData(0, sizeof(points), points);
    vertices.vertexBufferBinding->setBinding(0, buffer);
    const Ogre::uint16 indices[2][6] = {{0, 4, 1, 0, 3, 4}, {1, 5, 2, 1, 4, 5}};
    const char* materials[2] = {"asphalt", "grass"};
    for (int i = 0; i < 2; ++i)
    {
        Ogre::SubMesh* sub = mesh->createSubMesh();
        sub->useSharedVertices = true;
        sub->setMaterialName(materials[i]);
        sub->indexData->indexCount = 6;
        sub->indexData->indexBuffer = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
            Ogre::HardwareIndexBuffer::IT_16BIT, 6, Ogre::HardwareBuffer::HBU_STATIC);
        sub->indexData->indexBuffer->writeData(0, sizeof(indices[i]), indices[i]);
    }
    mesh->_setBounds(Ogre::AxisAlignedBox(-1, -1, -1, 1, 1, 1));
    mesh->load();
    return mesh;
}

struct MeshFixture : ::testing::Test
{
    nxOgre::world physics{0, 1, ""};
    nxOgre::scene* scene = physics.createScene("DefaultScene");
    Ogre::SceneManager* manager = (defineMaterials(), HeadlessOgre::createSceneManager());
    nxOgre::material* asphalt = scene->createMaterial("asphalt", 0, 1, 1);
    nxOgre::material* ice = scene->createMaterial("ice", 0, 0.1f, 0.1f);
    nxOgre::material* grass = scene->createMaterial("grass", 0, 0.5f, 0.5f);

    ~MeshFixture() override
    {
        HeadlessOgre::root().destroySceneManager(manager);
        Ogre::MeshManager::getSingleton().removeAll();
    }
};
}

TEST_F(MeshFixture, EachSubMeshGivesItsTrianglesItsMaterial)
{
    Ogre::MeshPtr mesh = twoSquareMesh("squares", 1.0f);
    Ogre::Entity* entity = manager->createEntity("squares entity", mesh);
    MeshShapeParams params;
    params.scale = Ogre::Vector3(2, 1, 2);
    nxOgre::meshShapeSR shape(entity, scene, false, params);
    ASSERT_FALSE(shape.hasFailed());
    EXPECT_STREQ(shape.getShapeAsString(), "Mesh");
    EXPECT_EQ(shape.getType(), 7);
    const nxOgre::NxTriangleMeshPtr& cooked = shape.getShapeDescription().meshData;
    ASSERT_TRUE(cooked);
    EXPECT_EQ(cooked->getVertexCount(), 8u);
    EXPECT_EQ(cooked->getTriangleCount(), 4u);
    EXPECT_EQ(shape.getShapeDescription().meshFlags, 0u);
    const nxOgre::NxMaterialIndex expected[4] = {asphalt->getMaterialIndex(), asphalt->getMaterialIndex(),
                                                 grass->getMaterialIndex(), grass->getMaterialIndex()};
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(cooked->getTriangleMaterial(t), expected[t]) << "triangle " << t;

    // In the scene, rays find the scaled surface and each half's material.
    nxOgre::NxActorDesc desc;
    desc.shapes = {shape.getDescription()};
    ASSERT_NE(scene->createActor(desc), nullptr);
    struct Case
    {
        float x;
        const nxOgre::material* surface;
    };
    for (const Case& c : {Case{-1.5f, asphalt}, Case{1.5f, grass}})
    {
        nxOgre::NxRaycastHit hit;
        ASSERT_TRUE(scene->raycastClosestShape(nxOgre::NxRay{{c.x, 5, 0.5f}, {0, -1, 0}}, nxOgre::NX_ALL_SHAPES, hit));
        EXPECT_NEAR(hit.worldImpact.y(), 1.0f, 1e-4f);
        EXPECT_EQ(hit.materialIndex, c.surface->getMaterialIndex()) << c.x;
    }
    EXPECT_FALSE(scene->raycastAnyShape(nxOgre::NxRay{{2.5f, 5, 0}, {0, -1, 0}}, nxOgre::NX_ALL_SHAPES))
        << "scaled to x = ±2, not beyond";

    // A copy shares the mesh; releasing one copy leaves the other's.
    nxOgre::meshShapeSR copy(shape);
    EXPECT_EQ(copy.getShapeDescription().meshData, cooked);
    shape.releaseMesh();
    EXPECT_FALSE(shape.getShapeDescription().meshData);
    EXPECT_TRUE(copy.getShapeDescription().meshData);
    manager->destroyEntity(entity);
}

TEST_F(MeshFixture, SharedVerticesAreTakenOnceAndUnknownMaterialsAreDefault)
{
    scene->createMaterial("grass", 0, 0, 0);  // exists already: unchanged
    Ogre::MeshPtr mesh = sharedVertexMesh("shared squares");
    Ogre::Entity* entity = manager->createEntity("shared entity", mesh);
    nxOgre::meshShapeSR shape(entity, scene, true, MeshShapeParams());
    const nxOgre::NxTriangleMeshPtr& cooked = shape.getShapeDescription().meshData;
    ASSERT_TRUE(cooked);
    EXPECT_EQ(cooked->getVertexCount(), 6u);
    EXPECT_EQ(cooked->getTriangleCount(), 4u);
    EXPECT_EQ(shape.getShapeDescription().meshFlags, nxOgre::NX_MESH_SMOOTH_SPHERE_COLLISIONS);
    // Both sub-meshes index the one shared block.
    const std::vector<std::uint32_t> expected = {0, 4, 1, 0, 3, 4, 1, 5, 2, 1, 4, 5};
    EXPECT_EQ(cooked->getTriangles(), expected);
    EXPECT_EQ(cooked->getTriangleMaterial(3), grass->getMaterialIndex());
    EXPECT_EQ(getMeshVertices(entity).size(), 6u);
    manager->destroyEntity(entity);

    Ogre::MeshPtr other = twoSquareMesh("unknown squares", 0.0f);
    other->getSubMesh(0)->setMaterialName("chrome");
    Ogre::Entity* unknown = manager->createEntity("unknown entity", other);
    nxOgre::meshShapeSR fallback(unknown, scene, false, MeshShapeParams());
    EXPECT_EQ(fallback.getShapeDescription().meshData->getTriangleMaterial(0), 0);
    const std::vector<Ogre::Vector3> vertices = getMeshVertices(unknown);
    ASSERT_EQ(vertices.size(), 8u);
    EXPECT_EQ(vertices[0], Ogre::Vector3(-1, 0, -0.5f));
    manager->destroyEntity(unknown);
}

TEST_F(MeshFixture, AMeshWithoutTrianglesFailsQuietly)
{
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(
        "empty", Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    mesh->_setBounds(Ogre::AxisAlignedBox(-1, -1, -1, 1, 1, 1));
    Ogre::Entity* entity = manager->createEntity("empty entity", mesh);
    nxOgre::meshShapeSR shape(entity, scene, false, MeshShapeParams());
    EXPECT_TRUE(shape.hasFailed());
    EXPECT_FALSE(shape.getShapeDescription().meshData);
    manager->destroyEntity(entity);
}
