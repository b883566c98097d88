// The options menu's rules for storing its choices: tree steps, aspect names, the restart
// decision, and a save that changes the settings and their file together or not at all.
#include "GameConfiguration.h"
#include "gui/OptionsChoices.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

TEST(OptionsChoices, TreeDensitySnapsToFourStepsAndGrassIsStoredAsItIs)
{
    struct Case
    {
        float position;
        float stored;
    };
    const Case cases[] = {
        {0.0f, 0.0f},     {0.1f, 0.0f},     {0.1665f, 0.0f},  {0.1666f, 0.333f}, {0.49f, 0.333f},
        {0.5f, 0.666f},   {0.8332f, 0.666f}, {0.8333f, 1.0f}, {0.9f, 1.0f},      {1.0f, 1.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.position);
        EXPECT_FLOAT_EQ(c.stored, OptionsRules::snapTreeDensity(c.position));
        GameConfiguration settings;
        OptionsChoices choices = OptionsChoices::from(settings);
        choices.treeDensity = c.position;
        choices.grassDensity = c.position;
        OptionsRules::apply(settings, choices);
        EXPECT_FLOAT_EQ(c.stored, settings.getTreeDensity());
        EXPECT_FLOAT_EQ(c.position, settings.getGrassDensity());
    }
    // Outside [0, 1) the position passes on; the settings' clamp then applies.
    EXPECT_FLOAT_EQ(-0.5f, OptionsRules::snapTreeDensity(-0.5f));
    EXPECT_FLOAT_EQ(1.5f, OptionsRules::snapTreeDensity(1.5f));
}

TEST(OptionsChoices, AspectNamesMapToTheirRatiosAndOthersChangeNothing)
{
    struct Case
    {
        const char* name;
        float ratio;
    };
    const Case cases[] = {{"3:2", 1.5f}, {"4:3", 1.3333334f}, {"16:10", 1.6f}, {"16:9", 1.7777778f}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_FLOAT_EQ(c.ratio, OptionsRules::aspectRatioOf(c.name));
        GameConfiguration settings;
        settings.setAspect("16:9");
        settings.setAspectRatio(2.0f);
        OptionsChoices choices = OptionsChoices::from(settings);
        choices.aspect = c.name;
        OptionsRules::apply(settings, choices);
        EXPECT_EQ(c.name, settings.getAspect());
        EXPECT_FLOAT_EQ(c.ratio, settings.getAspectRatio());
    }
    for (const char* unknown : {"", "5:4", "16:9 ", "21:9"})
    {
        SCOPED_TRACE(unknown);
        EXPECT_EQ(-1.0f, OptionsRules::aspectRatioOf(unknown));
        GameConfiguration settings;
        settings.setAspect("custom");
        settings.setAspectRatio(2.0f);
        OptionsChoices choices = OptionsChoices::from(settings);
        choices.aspect = unknown;
        OptionsRules::apply(settings, choices);
        EXPECT_EQ("custom", settings.getAspect());
        EXPECT_FLOAT_EQ(2.0f, settings.getAspectRatio());
    }
}

TEST(OptionsChoices, OnlyVideoChangesAndTextureQualityNeedARestart)
{
    struct Case
    {
        const char* what;
        std::function<void(OptionsChoices&)> change;
        bool restart;
    };
    const Case cases[] = {
        {"nothing", [](OptionsChoices&) {}, false},
        {"render system", [](OptionsChoices& c) { c.renderer = "Direct3D9 Rendering Subsystem"; }, true},
        {"resolution", [](OptionsChoices& c) { c.resolution = "800 x 600"; }, true},
        {"anti-aliasing", [](OptionsChoices& c) { c.antiAliasing = "4"; }, true},
        {"an empty anti-aliasing list", [](OptionsChoices& c) { c.antiAliasing = ""; }, true},
        {"full screen", [](OptionsChoices& c) { c.fullscreen = true; }, true},
        {"texture quality", [](OptionsChoices& c) { c.textureQuality = 0; }, true},
        {"aspect", [](OptionsChoices& c) { c.aspect = "16:9"; }, false},
        {"vegetation and densities",
         [](OptionsChoices& c) {
             c.vegetation = false;
             c.grassDensity = 0.1f;
             c.treeDensity = 0.2f;
         },
         false},
        {"shadows and effects",
         [](OptionsChoices& c) {
             c.shadows = false;
             c.shadowQuality = 0;
             c.hdr = c.motionBlur = c.advancedSky = c.lightMaps = false;
         },
         false},
        {"audio",
         [](OptionsChoices& c) {
             c.audio = c.sounds = c.music = false;
             c.audioVolume = c.soundsVolume = c.musicVolume = 0.2f;
         },
         false},
        {"a binding", [](OptionsChoices& c) { c.keys[kAccelerateBinding] = InputKey(InputKey::KeyboardKey, 17); }, false},
    };
    for (const Case& c : cases)
    {
        GameConfiguration settings;
        OptionsChoices choices = OptionsChoices::from(settings);
        c.change(choices);
        EXPECT_EQ(c.restart, OptionsRules::needsRestart(settings, choices)) << c.what;
    }
}

TEST(OptionsChoices, ASavedChoiceIsInTheSettingsAndInTheFile)
{
    TempFolder folder;
    const std::string path = folder.path() + "quillmor.cfg";
    GameConfiguration settings;
    OptionsChoices choices = OptionsChoices::from(settings);
    choices.keys[kAccelerateBinding] = InputKey(InputKey::KeyboardKey, 17);
    choices.hdr = false;
    choices.musicVolume = 0.25f;
    EXPECT_EQ(OptionsRules::SaveResult::Saved, OptionsRules::save(settings, choices, path));
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 17), settings.getAccelerateKey());

    GameConfiguration reread;
    ASSERT_TRUE(reread.load(path));
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 17), reread.getAccelerateKey());
    EXPECT_FALSE(reread.isHDREnabled());
    EXPECT_FLOAT_EQ(0.25f, reread.getMusicVolume());

    choices.resolution = "800 x 600";
    EXPECT_EQ(OptionsRules::SaveResult::SavedNeedsRestart, OptionsRules::save(settings, choices, path));
    ASSERT_TRUE(reread.load(path));
    EXPECT_EQ("800 x 600", reread.getResolution());
    // Saved once, the same choices need no second restart.
    EXPECT_EQ(OptionsRules::SaveResult::Saved, OptionsRules::save(settings, choices, path));
}

TEST(OptionsChoices, AFailedSaveChangesNeitherTheSettingsNorTheFile)
{
    TempFolder folder;
    const std::string path = folder.write("quillmor.cfg", "the settings of yesterday");
    GameConfiguration settings;
    OptionsChoices choices = OptionsChoices::from(settings);
    choices.resolution = "800 x 600";
    choices.keys[kBrakeBinding] = InputKey(InputKey::JoystickButton, 2);
    std::string error;
    // A folder in the file's place: the write cannot land.
    const std::string blocked = folder.path() + "blocked";
    ASSERT_EQ(0, mkdir(blocked.c_str(), 0755));
    EXPECT_EQ(OptionsRules::SaveResult::Failed, OptionsRules::save(settings, choices, blocked, &error));
    EXPECT_NE(std::string::npos, error.find(blocked)) << error;
    EXPECT_EQ("1024 x 768", settings.getResolution());
    EXPECT_EQ(InputKey(InputKey::KeyboardKey, 208), settings.getBrakeKey());
    EXPECT_EQ("the settings of yesterday", TempFolder::read(path));
}

TEST(OptionsChoices, ARenderSystemTheSettingsRefuseKeepsTheOldOne)
{
    GameConfiguration settings;
    OptionsChoices choices = OptionsChoices::from(settings);
    choices.renderer = "OpenGL 3+ Rendering Subsystem";
    choices.resolution = "800 x 600";
    EXPECT_NO_THROW(OptionsRules::apply(settings, choices));
    EXPECT_EQ("OpenGL Rendering Subsystem", settings.getRenderer());
    EXPECT_EQ("800 x 600", settings.getResolution());
}
