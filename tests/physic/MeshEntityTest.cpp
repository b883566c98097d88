// Damaged car meshes: every way a ".mesh" file can be broken ends in an error naming it,
// never in an invisible entity or an error that names nothing.
#include "physic/MeshEntity.h"

#include "support/HeadlessOgre.h"
#include "support/TempFolder.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
const std::string kCarsDir = std::string(QUILLMOR_BUILD_DIR) + "/media/cars/";
}

TEST(MeshEntity, DamagedMeshesAreErrorsNamingTheFile)
{
    HeadlessOgre::root();
    Ogre::SceneManager* sceneManager = HeadlessOgre::createSceneManager();
    TempFolder folder;
    const std::string good = TempFolder::read(kCarsDir + "RoadsterWheel.mesh");
    ASSERT_GT(good.size(), 200u);
    const struct
    {
        const char* file;
        std::string content;
    } damaged[] = {
        {"Empty.mesh", ""},
        {"Garbage.mesh", "this is not a mesh at all, only some text that a player saved by mistake\n"},
        {"HeaderOnly.mesh", good.substr(0, 40)},
        {"Truncated.mesh", good.substr(0, good.size() / 2)},
    };
    for (const auto& mesh : damaged)
        folder.write(mesh.file, mesh.content);
    folder.write("Good.mesh", good);
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(folder.path(), "FileSystem", "DamagedMeshes");
    Ogre::ResourceGroupManager::getSingleton().initialiseResourceGroup("DamagedMeshes");

    for (const auto& mesh : damaged)
    {
        SCOPED_TRACE(mesh.file);
        try
        {
            createMeshEntity(*sceneManager, std::string("e_") + mesh.file, mesh.file);
            ADD_FAILURE() << "accepted";
        }
        catch (const Ogre::Exception& error)
        {
            EXPECT_NE(std::string::npos, error.getDescription().find(std::string("mesh \"") + mesh.file + "\""))
                << error.getDescription();
        }
        EXPECT_FALSE(sceneManager->hasEntity(std::string("e_") + mesh.file));
    }
    Ogre::Entity* entity = createMeshEntity(*sceneManager, "good", "Good.mesh");
    EXPECT_GT(entity->getNumSubEntities(), 0u);
    HeadlessOgre::root().destroySceneManager(sceneManager);
    Ogre::ResourceGroupManager::getSingleton().destroyResourceGroup("DamagedMeshes");
}
