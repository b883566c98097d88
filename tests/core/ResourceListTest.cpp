// Telling a resource list from the other files a settings file could name instead.
#include "ResourceList.h"

#include <gtest/gtest.h>

TEST(ResourceListTest, OnlyGroupsOfKnownLocationsAreAResourceList)
{
    struct Case
    {
        const char* what;
        const char* text;
        const char* problem;  // empty when the text is a resource list
    };
    const Case cases[] = {
        {"groups of folders and archives", "# ours\n[General]\nFileSystem=../media/a\n[GUI]\nZip = ../media/b.zip\n",
         ""},
        {"the plug-in list", "PluginFolder=/usr/lib/OGRE\nPlugin=RenderSystem_GL\n",
         "the setting \"Plugin\" stands outside any resource group"},
        {"an empty file", "", "it names no resource location"},
        {"groups without locations", "[General]\n[GUI]\n", "it names no resource location"},
        {"an unknown location type", "[General]\nFolder=../media\n", "\"Folder\" is no kind of resource location"},
        {"a settings file", "<GameConfig><Video/></GameConfig>\n", "it names no resource location"},
    };
    for (const Case& c : cases)
    {
        std::vector<ResourceLocation> locations;
        std::string problem;
        EXPECT_EQ(*c.problem == 0, parseResourceList(c.text, locations, problem)) << c.what;
        EXPECT_EQ(c.problem, problem) << c.what;
    }
    std::vector<ResourceLocation> locations;
    std::string problem;
    ASSERT_TRUE(parseResourceList(cases[0].text, locations, problem));
    // Group by group, in the engine's order of their names.
    ASSERT_EQ(2u, locations.size());
    EXPECT_EQ("GUI", locations[0].group);
    EXPECT_EQ("Zip", locations[0].type);
    EXPECT_EQ("../media/b.zip", locations[0].place);
    EXPECT_EQ("General", locations[1].group);
    EXPECT_EQ("FileSystem", locations[1].type);
    EXPECT_EQ("../media/a", locations[1].place);
}
