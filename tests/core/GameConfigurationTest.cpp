// Settings: defaults, clamps, the file's layout, partial and broken files.
#include "GameConfiguration.h"
#include "LogStream.h"
#include "TempFolder.h"

#include <OGRE/OgreException.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <sys/stat.h>

namespace
{
// A settings file holding only the given elements below the root.
std::string settingsFile(const std::string& body)
{
    return "<GameConfig>" + body + "</GameConfig>";
}

GameConfiguration loaded(const TempFolder& folder, const std::string& content)
{
    GameConfiguration config;
    config.load(folder.write("quillmor.cfg", content));
    return config;
}

const char* const kDefaultFile =
    "<GameConfig>\n"
    "    <Video>\n"
    "        <Renderer name=\"OpenGL Rendering Subsystem\" />\n"
    "        <Resolution value=\"1024 x 768\" />\n"
    "        <ColourDepth value=\"32\" />\n"
    "        <Aspect name=\"4:3\" value=\"1.33333\" />\n"
    "        <AA value=\"0\" />\n"
    "        <Fullscreen enable=\"false\" />\n"
    "        <VSync enable=\"false\" />\n"
    "    </Video>\n"
    "    <Graphics>\n"
    "        <Texture quality=\"2\" />\n"
    "        <Vegetation enable=\"true\">\n"
    "            <Grass density=\"0.6\" />\n"
    "            <Tree density=\"1\" />\n"
    "        </Vegetation>\n"
    "        <Shadow enable=\"true\" quality=\"2\" />\n"
    "        <HDR enable=\"true\" fading=\"60\" />\n"
    "        <MotionBlur enable=\"true\" />\n"
    "        <AdvancedSky enable=\"true\" />\n"
    "        <LightMaps enable=\"true\" />\n"
    "    </Graphics>\n"
    "    <Audio enable=\"true\" volume=\"1\">\n"
    "        <Sounds enable=\"true\" volume=\"1\" />\n"
    "        <Music enable=\"true\" volume=\"0.8\" />\n"
    "    </Audio>\n"
    "    <Input>\n"
    "        <Player>\n"
    "            <Accelerate type=\"1\" data=\"200\" />\n"
    "            <Brake type=\"1\" data=\"208\" />\n"
    "            <Left type=\"1\" data=\"203\" />\n"
    "            <Right type=\"1\" data=\"205\" />\n"
    "            <Handbrake type=\"1\" data=\"57\" />\n"
    "            <ChangeCamera type=\"1\" data=\"46\" />\n"
    "            <ResetCar type=\"1\" data=\"20\" />\n"
    "        </Player>\n"
    "        <General>\n"
    "            <ResetGame type=\"1\" data=\"19\" />\n"
    "        </General>\n"
    "    </Input>\n"
    "    <Resources file=\"resources_high.cfg\" />\n"
    "</GameConfig>\n";
}

TEST(GameConfigurationTest, DefaultsAreWrittenInTheFileLayout)
{
    TempFolder folder;
    GameConfiguration config;
    ASSERT_TRUE(config.save(folder.path() + "quillmor.cfg"));
    EXPECT_EQ(kDefaultFile, TempFolder::read(folder.path() + "quillmor.cfg"));
}

TEST(GameConfigurationTest, RoundTripKeepsEverySetting)
{
    TempFolder folder;
    GameConfiguration original;
    original.setRenderer("Direct3D9 Rendering Subsystem");
    original.setResolution("800 x 600");
    original.setColourDepth("16");
    original.setAspect("16:9");
    original.setAspectRatio(1.75f);
    original.setAA("4");
    original.setFullscreen(true);
    original.setVSync(true);
    original.setTextureQuality(1);
    original.setVegetationEnabled(false);
    original.setGrassDensity(0.25f);
    original.setTreeDensity(0.5f);
    original.setShadowEnabled(false);
    original.setShadowQuality(0);
    original.setHDREnabled(false);
    original.setHDRFading(7);
    original.setMotionBlurEnabled(false);
    original.setAdvancedSkyEnabled(false);
    original.setLightMapsEnabled(false);
    original.setSoundsEnabled(false);
    original.setMusicEnabled(false);
    original.setAudioEnabled(false);
    original.setSoundsVolume(0.5f);
    original.setMusicVolume(0.25f);
    original.setAudioVolume(0.75f);
    original.setAccelerateKey(InputKey(2, 3));
    original.setBrakeKey(InputKey(4, 0));
    original.setLeftKey(InputKey(8, 1));
    original.setRightKey(InputKey(7, 1));
    original.setHandbrakeKey(InputKey(3, 2));
    original.setChangeCameraKey(InputKey(5, 0));
    original.setResetCarKey(InputKey(6, -1));
    original.setResetGameKey(InputKey(0, 0));
    ASSERT_TRUE(original.save(folder.path() + "quillmor.cfg"));

    GameConfiguration copy;
    ASSERT_TRUE(copy.load(folder.path() + "quillmor.cfg"));
    EXPECT_EQ("Direct3D9 Rendering Subsystem", copy.getRenderer());
    EXPECT_EQ("800 x 600", copy.getResolution());
    EXPECT_EQ("16", copy.getColourDepth());
    EXPECT_EQ("16:9", copy.getAspect());
    EXPECT_FLOAT_EQ(1.75f, copy.getAspectRatio());
    EXPECT_EQ("4", copy.getAA());
    EXPECT_TRUE(copy.isFullscreen());
    EXPECT_TRUE(copy.isVSync());
    EXPECT_EQ(1, copy.getTextureQuality());
    EXPECT_FALSE(copy.isVegetationEnabled());
    EXPECT_FLOAT_EQ(0.25f, copy.getGrassDensity());
    EXPECT_FLOAT_EQ(0.5f, copy.getTreeDensity());
    EXPECT_FALSE(copy.isShadowEnabled());
    EXPECT_EQ(0, copy.getShadowQuality());
    EXPECT_FALSE(copy.isHDREnabled());
    EXPECT_EQ(7u, copy.getHDRFading());
    EXPECT_FALSE(copy.isMotionBlurEnabled());
    EXPECT_FALSE(copy.isAdvancedSkyEnabled());
    EXPECT_FALSE(copy.isLightMapsEnabled());
    EXPECT_FALSE(copy.isSoundsEnabled());
    EXPECT_FALSE(copy.isMusicEnabled());
    EXPECT_FALSE(copy.isAudioEnabled());
    EXPECT_FLOAT_EQ(0.5f, copy.getSoundsVolume());
    EXPECT_FLOAT_EQ(0.25f, copy.getMusicVolume());
    EXPECT_FLOAT_EQ(0.75f, copy.getAudioVolume());
    EXPECT_EQ(InputKey(2, 3), copy.getAccelerateKey());
    EXPECT_EQ(InputKey(4, 0), copy.getBrakeKey());
    EXPECT_EQ(InputKey(8, 1), copy.getLeftKey());
    EXPECT_EQ(InputKey(7, 1), copy.getRightKey());
    EXPECT_EQ(InputKey(3, 2), copy.getHandbrakeKey());
    EXPECT_EQ(InputKey(5, 0), copy.getChangeCameraKey());
    EXPECT_EQ(InputKey(6, -1), copy.getResetCarKey());
    EXPECT_EQ(InputKey(0, 0), copy.getResetGameKey());
    EXPECT_EQ("resources_med.cfg", copy.getResourcesFile());
}

TEST(GameConfigurationTest, SettersClamp)
{
    GameConfiguration config;
    config.setAspectRatio(3.0f);
    EXPECT_FLOAT_EQ(2.39f, config.getAspectRatio());
    config.setAspectRatio(0.5f);
    EXPECT_FLOAT_EQ(1.0f, config.getAspectRatio());
    config.setAspectRatio(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(std::isnan(config.getAspectRatio()));

    for (int quality : {-1, 2, 3, 5})
    {
        config.setTextureQuality(quality);
        EXPECT_EQ(2, config.getTextureQuality()) << quality;
        config.setShadowQuality(quality);
        EXPECT_EQ(2, config.getShadowQuality()) << quality;
    }
    config.setTextureQuality(0);
    EXPECT_EQ(0, config.getTextureQuality());
    config.setShadowQuality(1);
    EXPECT_EQ(1, config.getShadowQuality());

    config.setGrassDensity(1.5f);
    EXPECT_FLOAT_EQ(1.0f, config.getGrassDensity());
    config.setTreeDensity(-0.2f);
    EXPECT_FLOAT_EQ(0.0f, config.getTreeDensity());
    config.setHDRFading(121);
    EXPECT_EQ(120u, config.getHDRFading());
    config.setHDRFading(static_cast<unsigned>(-5));
    EXPECT_EQ(120u, config.getHDRFading());

    config.setSoundsVolume(-3.0f);  // volumes are not range-checked
    EXPECT_FLOAT_EQ(-3.0f, config.getSoundsVolume());
}

TEST(GameConfigurationTest, ValuesFromTheFileGoThroughTheSetterRules)
{
    struct Case
    {
        const char* what;
        const char* body;
        std::function<bool(const GameConfiguration&)> holds;
    };
    const Case cases[] = {
        {"texture 5 is 2", "<Graphics><Texture quality=\"5\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getTextureQuality() == 2; }},
        {"texture -1 is 2", "<Graphics><Texture quality=\"-1\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getTextureQuality() == 2; }},
        {"texture abc is 0", "<Graphics><Texture quality=\"abc\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getTextureQuality() == 0; }},
        {"fading -5 is 120", "<Graphics><HDR fading=\"-5\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getHDRFading() == 120; }},
        {"fading 121 is 120", "<Graphics><HDR fading=\"121\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getHDRFading() == 120; }},
        {"fading 0 stays", "<Graphics><HDR fading=\"0\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getHDRFading() == 0; }},
        {"huge fading saturates", "<Graphics><HDR fading=\"99999999999999999999\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getHDRFading() == 120; }},
        {"aspect 3 is 2.39", "<Video><Aspect value=\"3\"/></Video>",
         [](const GameConfiguration& c) { return c.getAspectRatio() == 2.39f; }},
        {"aspect 0.5 is 1", "<Video><Aspect value=\"0.5\"/></Video>",
         [](const GameConfiguration& c) { return c.getAspectRatio() == 1.0f; }},
        {"grass 1.5 is 1", "<Graphics><Vegetation><Grass density=\"1.5\"/></Vegetation></Graphics>",
         [](const GameConfiguration& c) { return c.getGrassDensity() == 1.0f; }},
        {"grass -0.2 is 0", "<Graphics><Vegetation><Grass density=\"-0.2\"/></Vegetation></Graphics>",
         [](const GameConfiguration& c) { return c.getGrassDensity() == 0.0f; }},
        {"TRUE is false", "<Video><Fullscreen enable=\"TRUE\"/></Video>",
         [](const GameConfiguration& c) { return !c.isFullscreen(); }},
        {"1 is false", "<Video><VSync enable=\"1\"/></Video>",
         [](const GameConfiguration& c) { return !c.isVSync(); }},
        {"True is true", "<Video><Fullscreen enable=\"True\"/></Video>",
         [](const GameConfiguration& c) { return c.isFullscreen(); }},
        {"binding without data is kept", "<Input><Player><Brake type=\"2\"/></Player></Input>",
         [](const GameConfiguration& c) { return c.getBrakeKey() == InputKey(1, 208); }},
        {"ResetGame below Player is ignored", "<Input><Player><ResetGame type=\"2\" data=\"4\"/></Player></Input>",
         [](const GameConfiguration& c) { return c.getResetGameKey() == InputKey(1, 19); }},
        {"ResetGame below General without Player", "<Input><General><ResetGame type=\"2\" data=\"4\"/></General></Input>",
         [](const GameConfiguration& c) { return c.getResetGameKey() == InputKey(2, 4); }},
        {"Grass outside Vegetation is ignored", "<Graphics><Grass density=\"0.1\"/></Graphics>",
         [](const GameConfiguration& c) { return c.getGrassDensity() == 0.6f; }},
        {"Sounds without Audio is ignored", "<Sounds enable=\"false\"/>",
         [](const GameConfiguration& c) { return c.isSoundsEnabled(); }},
        {"empty root keeps defaults", "",
         [](const GameConfiguration& c) { return c.getResolution() == "1024 x 768" && c.getMusicVolume() == 0.8f; }},
        {"resources file taken as written", "<Graphics><Texture quality=\"0\"/></Graphics><Resources file=\"x.cfg\"/>",
         [](const GameConfiguration& c) { return c.getResourcesFile() == "x.cfg"; }},
    };
    TempFolder folder;
    for (const Case& c : cases)
        EXPECT_TRUE(c.holds(loaded(folder, settingsFile(c.body)))) << c.what;
}

TEST(GameConfigurationTest, SaveDerivesTheResourcesFileFromTextureQuality)
{
    TempFolder folder;
    GameConfiguration config = loaded(folder, settingsFile("<Graphics><Texture quality=\"abc\"/></Graphics>"));
    ASSERT_TRUE(config.save(folder.path() + "out.cfg"));
    EXPECT_EQ("resources_low.cfg", config.getResourcesFile());
    EXPECT_NE(std::string::npos, TempFolder::read(folder.path() + "out.cfg").find("<Resources file=\"resources_low.cfg\" />"));
    config.setTextureQuality(1);
    ASSERT_TRUE(config.save(folder.path() + "out.cfg"));
    EXPECT_EQ("resources_med.cfg", config.getResourcesFile());
}

TEST(GameConfigurationTest, BrokenFilesChangeNothingAndReportFailure)
{
    struct Case
    {
        const char* what;
        const char* content;
    };
    const Case cases[] = {
        {"empty", ""},
        {"truncated", "<GameConfig><Video><Resolution value=\"800 x 600\"/>"},
        {"not XML", "resolution = 800 x 600\n"},
        {"wrong root", "<Settings><Video><Resolution value=\"800 x 600\"/></Video></Settings>"},
        {"unknown renderer", "<GameConfig><Video><Renderer name=\"Software\"/><Resolution value=\"800 x 600\"/></Video>"
                             "<Graphics><Texture quality=\"0\"/></Graphics></GameConfig>"},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        GameConfiguration config;
        EXPECT_FALSE(config.load(folder.write("quillmor.cfg", c.content))) << c.what;
        EXPECT_EQ("1024 x 768", config.getResolution()) << c.what;
        EXPECT_EQ("OpenGL Rendering Subsystem", config.getRenderer()) << c.what;
        EXPECT_EQ(2, config.getTextureQuality()) << c.what;
    }
    GameConfiguration config;
    EXPECT_FALSE(config.load(folder.path() + "missing.cfg"));
}

TEST(GameConfigurationTest, UnknownRendererThrowsAndKeepsTheName)
{
    GameConfiguration config;
    config.setRenderer("Direct3D9 Rendering Subsystem");
    try
    {
        config.setRenderer("Software");
        FAIL() << "no exception";
    }
    catch (const Ogre::InternalErrorException& error)
    {
        EXPECT_EQ("Unknown render system.", error.getDescription());
    }
    EXPECT_EQ("Direct3D9 Rendering Subsystem", config.getRenderer());
}

TEST(GameConfigurationTest, FailedSaveKeepsTheOldFileAndSaysSo)
{
    TempFolder folder;
    const std::string path = folder.write("quillmor.cfg", "old settings");
    GameConfiguration config;
    std::string error;
    EXPECT_FALSE(config.save(folder.path() + "no-such-folder/quillmor.cfg", &error));
    EXPECT_NE(std::string::npos, error.find("no-such-folder/quillmor.cfg")) << error;
    EXPECT_EQ("old settings", TempFolder::read(path));
}

TEST(GameConfigurationTest, FloatToStringUsesSixSignificantDigits)
{
    EXPECT_EQ("0.6", floatToString(0.6f));
    EXPECT_EQ("1", floatToString(1.0f));
    EXPECT_EQ("0.8", floatToString(0.8f));
    EXPECT_EQ("1.33333", floatToString(4.0f / 3.0f));
}

TEST(GameConfigurationTest, RefusalsNameTheFileAndTheProblem)
{
    struct Case
    {
        const char* what;
        const char* content;
        const char* problem;
    };
    const Case cases[] = {
        {"not XML", "resolution = 800 x 600", "line"},
        {"wrong root", "<Settings/>", "root element is not \"GameConfig\""},
        {"unknown renderer", "<GameConfig><Video><Renderer name=\"Software\"/></Video></GameConfig>",
         "Unknown render system."},
    };
    TempFolder folder;
    const std::string logPath = folder.path() + "debug.txt";
    for (const Case& c : cases)
    {
        LogStream::destroy();
        ASSERT_TRUE(LogStream::getInstance()->open(logPath));
        GameConfiguration config;
        const std::string settingsPath = folder.write("quillmor.cfg", c.content);
        config.load(settingsPath);
        LogStream::destroy();
        const std::string log = TempFolder::read(logPath);
        EXPECT_NE(std::string::npos, log.find(settingsPath)) << c.what << ": " << log;
        EXPECT_NE(std::string::npos, log.find(c.problem)) << c.what << ": " << log;
    }
}

TEST(GameConfigurationTest, ValuesAFieldCannotHaveKeepTheDefaultWithALogLineNamingKeyAndValue)
{
    struct Case
    {
        const char* body;
        const char* key;
        const char* value;
        std::function<bool(const GameConfiguration&)> keptDefault;
    };
    const auto defaultResolution = [](const GameConfiguration& c) { return c.getResolution() == "1024 x 768"; };
    const Case cases[] = {
        {"<Video><Resolution value=\"800x600\"/></Video>", "Video/Resolution", "800x600", defaultResolution},
        {"<Video><Resolution value=\"big\"/></Video>", "Video/Resolution", "big", defaultResolution},
        {"<Video><Resolution value=\"0 x 0\"/></Video>", "Video/Resolution", "0 x 0", defaultResolution},
        {"<Video><Resolution value=\"-800 x 600\"/></Video>", "Video/Resolution", "-800 x 600", defaultResolution},
        {"<Video><Resolution value=\"99999999999 x 600\"/></Video>", "Video/Resolution", "99999999999 x 600",
         defaultResolution},
        {"<Video><Resolution value=\"40000 x 30000\"/></Video>", "Video/Resolution", "40000 x 30000", defaultResolution},
        {"<Video><Resolution value=\"800 x 600 x\"/></Video>", "Video/Resolution", "800 x 600 x", defaultResolution},
        {"<Video><ColourDepth value=\"24bit\"/></Video>", "Video/ColourDepth", "24bit",
         [](const GameConfiguration& c) { return c.getColourDepth() == "32"; }},
        {"<Video><AA value=\"lots\"/></Video>", "Video/AA", "lots",
         [](const GameConfiguration& c) { return c.getAA() == "0"; }},
        {"<Video><Aspect value=\"nan\"/></Video>", "Video/Aspect value", "nan",
         [](const GameConfiguration& c) { return c.getAspectRatio() == 4.0f / 3.0f; }},
        {"<Audio volume=\"7\"><Music volume=\"-1\"/></Audio>", "Audio/Music volume", "-1",
         [](const GameConfiguration& c) { return c.getAudioVolume() == 1.0f && c.getMusicVolume() == 0.8f; }},
        {"<Audio><Sounds volume=\"inf\"/></Audio>", "Audio/Sounds volume", "inf",
         [](const GameConfiguration& c) { return c.getSoundsVolume() == 1.0f; }},
        {"<Resources file=\"/dev/zero\"/>", "Resources file", "/dev/zero",
         [](const GameConfiguration& c) { return c.getResourcesFile() == "resources_high.cfg"; }},
        {"<Resources file=\"../../home/x/list.cfg\"/>", "Resources file", "../../home/x/list.cfg",
         [](const GameConfiguration& c) { return c.getResourcesFile() == "resources_high.cfg"; }},
    };
    TempFolder folder;
    const std::string logPath = folder.path() + "debug.txt";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.body);
        LogStream::destroy();
        ASSERT_TRUE(LogStream::getInstance()->open(logPath));
        GameConfiguration config;
        EXPECT_TRUE(config.load(folder.write("quillmor.cfg", settingsFile(c.body))));
        LogStream::destroy();
        EXPECT_TRUE(c.keptDefault(config));
        const std::string log = TempFolder::read(logPath);
        EXPECT_NE(std::string::npos, log.find(std::string(c.key) + " \"" + c.value + "\" is not valid")) << log;
    }
    GameConfiguration valid = loaded(folder, settingsFile("<Video><Resolution value=\"800 x 600\"/><ColourDepth "
                                                          "value=\"16\"/><AA value=\"4\"/></Video>"));
    EXPECT_EQ("800 x 600", valid.getResolution());
    EXPECT_EQ("16", valid.getColourDepth());
    EXPECT_EQ("4", valid.getAA());
}

TEST(GameConfigurationTest, FilesThatAreNotSettingsAreRefusedAtOnce)
{
    TempFolder folder;
    std::string deep;  // as deep as fits in the largest settings file
    for (int i = 0; i < 2000; ++i)
        deep += "<Video>";
    std::string manyAttributes = "<GameConfig><Video><Resolution value=\"800 x 600\"";
    for (int i = 0; i < 300000; ++i)
        manyAttributes += " a" + std::to_string(i) + "=\"\"";
    manyAttributes += "/></Video></GameConfig>";
    ASSERT_EQ(0, ::mkfifo((folder.path() + "fifo.cfg").c_str(), 0600));
    ::mkdir((folder.path() + "folder.cfg").c_str(), 0700);
    const struct
    {
        std::string path;
        const char* problem;
    } cases[] = {
        {folder.write("deep.cfg", "<GameConfig>" + deep), "nested deeper"},
        {folder.write("many.cfg", manyAttributes), "larger than"},
        {folder.path() + "fifo.cfg", "not a regular file"},
        {folder.path() + "folder.cfg", "a folder"},
        {"/dev/zero", "not a regular file"},
    };
    const std::string logPath = folder.path() + "debug.txt";
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.path);
        LogStream::destroy();
        ASSERT_TRUE(LogStream::getInstance()->open(logPath));
        GameConfiguration config;
        EXPECT_FALSE(config.load(c.path));
        LogStream::destroy();
        EXPECT_EQ("1024 x 768", config.getResolution());
        const std::string log = TempFolder::read(logPath);
        EXPECT_NE(std::string::npos, log.find(c.path)) << log;
        EXPECT_NE(std::string::npos, log.find(c.problem)) << log;
    }
}
