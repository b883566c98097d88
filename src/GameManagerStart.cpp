// The manager's start routine: it builds the engine, the window, the input, the race and GUI
// scenes and the first state, runs the main loop, and builds it all anew when the options ask
// for a restart.
#include "GameManager.h"

#include "ActionMapper.h"
#include "DebugOverlay.h"
#include "AtomicFile.h"
#include "FileGroupWrite.h"
#include "FolderManager.h"
#include "GameConfiguration.h"
#include "GameScene.h"
#include "GameState.h"
#include "GuiScene.h"
#include "InputManager.h"
#include "LogStream.h"
#include "MainLoop.h"
#include "PlayState.h"
#include "RaceResourceGroup.h"
#include "RegularFile.h"
#include "ResourceList.h"
#include "SingleBlanks.h"
#include "StepClock.h"
#include "WindowEvents.h"
#include "XErrorHandlers.h"
#include "graphics/JpegImageCodec.h"
#include "graphics/PngImageCodec.h"
#include "graphics/Screenshot.h"
#include "gui/MainMenuState.h"
#include "gui/OptionsMenuState.h"
#include "physic/PhysicBase.h"
#include "sound/SoundManager.h"

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char* const kOpenGL = "OpenGL Rendering Subsystem";
const char* const kDirect3D9 = "Direct3D9 Rendering Subsystem";

constexpr std::size_t kMaxResourceListBytes = 64u << 10;

// A window of this size fits on the display: no larger than the largest mode it offers.
bool fitsTheDisplay(const std::string& mode, const Ogre::StringVector& offered)
{
    unsigned width = 0, height = 0;
    if (std::sscanf(mode.c_str(), "%u x %u", &width, &height) != 2)
        return false;
    for (const std::string& possible : offered)
    {
        unsigned w = 0, h = 0;
        if (std::sscanf(possible.c_str(), "%u x %u", &w, &h) == 2 && width <= w && height <= h)
            return true;
    }
    return false;
}

bool canWriteIn(const std::string& folder)
{
    std::string probe = folder + ".write-test-XXXXXX";
    const int fd = ::mkstemp(&probe[0]);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

// The race scene's type is complete only up here: the manager deletes it through the function
// it came with.
GameManager::GameSceneHolder makeGameScene()
{
    return GameManager::GameSceneHolder(new GameScene(), [](GameScene* scene) { delete scene; });
}

// Saves a kill interrupted are finished or dropped, and their temporaries removed, before
// anything reads these folders: the settings, the tables and ghosts, the caches of tmp/.
void settleUserFiles(const std::string& folder)
{
    for (const char* sub : {"", "maps/", "maps/stdHighscore/"})
        settleInterruptedWrites(folder + sub);
    for (const std::string& cache : FolderManager::getFileList(folder + "tmp/"))
        if (cache != "." && cache != ".." && FolderManager::folderExists(folder + "tmp/" + cache, false))
            removeStaleTemporaries(folder + "tmp/" + cache + "/");
}

// A symbolic link, even a dangling one, counts as taken.
bool fileExists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}
}

// Connects the main loop's passes to the engine and to this manager.
class GameManager::LoopHost : public MainLoopHost
{
public:
    explicit LoopHost(GameManager& manager) : manager(manager), windowEvents(*manager.window) {}

    unsigned long takeElapsedMs() override
    {
        const unsigned long elapsed = manager.frameTimer->getMilliseconds();
        manager.frameTimer->reset();
        return elapsed;
    }
    bool frameStarted(const Ogre::FrameEvent& event) override { return manager.frameStarted(event); }
    bool pumpMessagesAndRender() override
    {
        // Not the engine's event pump (OgreBites): it serves only windows registered with it, and
        // linking it (and SDL2 with it) cost 4 ms a start. The input library reads keys and the
        // mouse on its own connection; the window's own events are read here.
        windowEvents.pump();
        return manager.root->renderOneFrame();
    }
    bool frameEnded(const Ogre::FrameEvent& event) override { return manager.frameEnded(event); }
    bool isWindowClosed() override
    {
        // The window manager's close ends the game as a quit does: every state is left.
        if (windowEvents.isCloseRequested())
            debugLog() << "The window was asked to close: the game ends." << std::endl;
        return manager.window->isClosed() || windowEvents.isCloseRequested();
    }

private:
    GameManager& manager;
    WindowEvents windowEvents;
};

void GameManager::start()
{
    do
    {
        startOnce();
        if (!restartRequested)
            return;
        // The options menu asked for a restart: everything is built anew from the saved settings.
        states.clear();
        shutdown();
        SoundManager::getInstance()->clearNodeSounds();
    } while (true);
}

std::string GameManager::createUserFolders()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        throw std::string("HOME is not set: cannot find the per-user folder $HOME/.Quillmor/.");
    std::string folder = std::string(home) + "/.Quillmor/";
    FolderManager::folderExists(folder, true);
    folder += version + "/";
    FolderManager::folderExists(folder, true);
    for (const char* sub : {"logs/", "maps/", "maps/stdHighscore", "tmp/"})
        FolderManager::folderExists(folder + sub, true);
    settleUserFiles(folder);
    // Tried by writing, as permissions alone don't tell (a read-only disk, or root).
    const bool writable = canWriteIn(folder) && canWriteIn(folder + "logs/");
    // Nothing else would tell the player; said once, not again on a restart.
    static bool warned = false;
    if (!writable && !warned)
    {
        warned = true;
        std::cerr << "Quillmor: cannot write to the folder \"" << folder
                  << "\": the game runs, but its logs, settings, high scores and recordings are not saved."
                  << std::endl;
    }
    return folder;
}

void GameManager::startOnce()
{
    startTime = std::chrono::steady_clock::now();
    firstFrameLogged = false;
    StepClock clock("start-up");

    settings = std::make_unique<GameConfiguration>();
    const std::string folder = createUserFolders();
    settings->setSavePath(folder);
    LogStream::getInstance()->open(folder + "logs/debug.txt");
    debugLog() << "savePath: " << folder << std::endl;
    settings->load(folder + "quillmor.cfg");
    clock.step("settings");

    // Our own log manager first, so the engine writes its log to the file only, not to stdout.
    logManager = std::make_unique<Ogre::LogManager>();
    const std::string engineLog = folder + "logs/Ogre.log";
    logManager->createLog(engineLog, true, false, !isAbsentOrRegularFile(engineLog));
    root.reset(new Ogre::Root("", "", folder + "logs/Ogre.log"));
    loadEnginePlugins("Plugins.cfg");
    PngImageCodec::install();
    JpegImageCodec::install();
    overlaySystem = std::make_unique<Ogre::OverlaySystem>();
    Ogre::LogManager::getSingleton().logMessage("savePath: " + folder);
    frameTimer = std::make_unique<Ogre::Timer>();
    clock.step("engine");

    if (!PhysicBase::isPhysXAvailable(root.get()))
        throw std::string("No Bullet physics runtime found. Please reinstall the game with administrator rights.");

    XErrorHandlers::install();
    if (!configure())
        throw std::string("No render system \"" + settings->getRenderer() + "\" or \"" + kOpenGL +
                          "\" found: check Plugins.cfg beside the game.");
    clock.step("window");

    setupResources();
    clock.step("resources");
    updateSound = [] { SoundManager::getInstance()->update(); };
    takeScreenshot = [this] { writeNumberedScreenshot(); };
    statisticsOverlay = std::make_unique<DebugOverlay>();
    statisticsOverlay->setVisible(false);
    root->addFrameListener(this);

    inputManager = std::make_unique<InputManager>();
    inputManager->initialise(window);
    inputManager->addKeyListener(this, "KeyListener");
    inputManager->addMouseListener(this, "MouseListener");
    inputManager->addJoystickListener(this, "JoystickListener");
    OptionsMenuState::getInstance()->setKeyboard(inputManager->getKeyboard());

    actionMapper = std::make_unique<ActionMapper>(inputManager.get());
    PlayState::getInstance()->setActionMapper(actionMapper.get());
    clock.step("input");

    gameScene = makeGameScene();
    clock.step("race scene");
    guiScene = std::make_unique<GuiScene>();
    clock.step("GUI");

    changeState(MainMenuState::getInstance());
    clock.step("main menu");
    frameTimer->reset();
    runLoop();
}

void GameManager::loadEnginePlugins(const std::string& pluginsFile)
{
    // Loaded here rather than by the root's constructor: an exception a plugin throws while it
    // starts (the GL renderer without an X display) holds texts and code of that plugin, and a
    // failing constructor unloads every plugin before anyone could read the exception.
    Ogre::ConfigFile plugins;
    plugins.load(pluginsFile);
    std::string pluginFolder = plugins.getSetting("PluginFolder");
    if (!pluginFolder.empty() && pluginFolder.back() != '/')
        pluginFolder += '/';
    for (const std::string& plugin : plugins.getMultiSetting("Plugin"))
    {
        try
        {
            root->loadPlugin(pluginFolder + plugin);
        }
        catch (const Ogre::Exception& error)
        {
            throw std::string("The engine plug-in \"" + plugin + "\" did not start: " + error.getDescription());
        }
    }
}

void GameManager::runLoop()
{
    restartRequested = false;
    LoopHost host(*this);
    MainLoop::runPasses(host);
}

bool GameManager::configure()
{
    Ogre::RenderSystem* renderSystem = root->getRenderSystemByName(settings->getRenderer());
    if (!renderSystem)
    {
        // A settings file from another build (or machine) must not keep the game from starting.
        debugLog() << "Render system \"" << settings->getRenderer() << "\" is not available; using \"" << kOpenGL
                   << "\"" << std::endl;
        settings->setRenderer(kOpenGL);
        renderSystem = root->getRenderSystemByName(kOpenGL);
        if (!renderSystem)
            return false;
    }

    const Ogre::ConfigOptionMap& offered = renderSystem->getConfigOptions();
    auto setOption = [&](const std::string& name, const std::string& value) {
        // Setting an option the render system doesn't offer throws; skip it with a log line.
        if (offered.find(name) == offered.end())
        {
            debugLog() << "Render system has no option \"" << name << "\"" << std::endl;
            return;
        }
        // A value the display doesn't offer (a mode larger than any screen, a word) would
        // crash the window's creation: the render system's own choice stays then. Its names
        // are padded ("1024 x  768"), ours are not.
        const Ogre::ConfigOption& option = offered.at(name);
        std::string chosen = value;
        if (!option.possibleValues.empty())
        {
            const auto same = std::find_if(option.possibleValues.begin(), option.possibleValues.end(),
                                           [&](const std::string& possible) { return singleBlanks(possible) == singleBlanks(value); });
            // A window (not a full screen) may have any size that fits on the display.
            const bool window = name == "Video Mode" && !settings->isFullscreen() &&
                                fitsTheDisplay(value, option.possibleValues);
            if (same == option.possibleValues.end() && window)
                chosen = value;
            else if (same == option.possibleValues.end())
            {
                debugLog() << "Settings: \"" << name << "\" value \"" << value
                           << "\" is not offered by the display; using \"" << option.currentValue << "\"" << std::endl;
                return;
            }
            else
                chosen = *same;
        }
        renderSystem->setConfigOption(name, chosen);
    };
    const std::string& name = settings->getRenderer();
    if (name == kOpenGL)
    {
        setOption("Video Mode", settings->getResolution());
        setOption("Colour Depth", settings->getColourDepth());
        setOption("FSAA", settings->getAA());
        setOption("Full Screen", settings->isFullscreen() ? "Yes" : "No");
        setOption("VSync", settings->isVSync() ? "Yes" : "No");
    }
    else if (name == kDirect3D9)
    {
        setOption("Video Mode", settings->getResolution() + " @ " + settings->getColourDepth() + "-bit colour");
        setOption("Anti aliasing", settings->getAA());
        setOption("Full Screen", settings->isFullscreen() ? "Yes" : "No");
        setOption("VSync", settings->isVSync() ? "Yes" : "No");
    }
    root->setRenderSystem(renderSystem);
    window = root->initialise(true, "Quillmor");
    return true;
}

void GameManager::setupResources()
{
    // The list is read as a regular file of sane size: a folder or FIFO in its place would hang.
    // One that can't be read or is no resource list is a bad setting: the default list serves.
    auto readList = [](const std::string& name, std::vector<ResourceLocation>& locations, std::string& problem) {
        std::string content;
        return readRegularFile(name, kMaxResourceListBytes, content, problem) &&
               parseResourceList(content, locations, problem);
    };
    std::string listName = settings->getResourcesFile();
    std::vector<ResourceLocation> locations;
    std::string problem;
    if (!readList(listName, locations, problem))
    {
        const std::string fallback = GameConfiguration().getResourcesFile();
        debugLog() << "Settings: the resource list \"" << listName << "\" is not used (" << problem << "); using \""
                   << fallback << "\"" << std::endl;
        listName = fallback;
        settings->setResourcesFile(fallback);
        if (!readList(listName, locations, problem))
            throw std::string("Cannot read the resource list \"" + listName + "\": " + problem);
    }
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const ResourceLocation& location : locations)
        groups.addResourceLocation(location.place, location.type, location.group, false);
    for (const std::string& group : groups.getResourceGroups())
        if (group != RaceResourceGroup::kName)
            groups.initialiseResourceGroup(group);
}

void GameManager::resetGameScene()
{
    if (gameScene)
    {
        gameScene->disable();
        gameScene.reset();
    }
    gameScene = makeGameScene();
}

void GameManager::writeNumberedScreenshot()
{
    // Never overwrite a screenshot of an earlier run: take the next free number.
    std::string name;
    do
    {
        ++screenshotCounter;
        name = "screenshot_" + std::to_string(screenshotCounter) + ".png";
    } while (fileExists(name));
    // Written by us, not the engine: a failure is logged and the game goes on, the file
    // gets mode 0644 whatever the umask, and a symbolic link in its place is not followed.
    std::string problem;
    if (writeScreenshot(*window, name, &problem))
        debugLog() << "screenshot written: " << name << std::endl;
    else
        debugLog() << "screenshot not written: " << problem << std::endl;
}
