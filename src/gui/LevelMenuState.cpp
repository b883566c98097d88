// The track choice.
#include "gui/LevelMenuState.h"

#include "GameConfiguration.h"
#include "GameManager.h"
#include "GuiScene.h"
#include "InputManager.h"
#include "LogStream.h"
#include "XMLParser.h"
#include "gui/LoadState.h"
#include "gui/MainMenuState.h"
#include "gui/RaceKeysHint.h"
#include "gui/GuiText.h"
#include "gui/TextList.h"
#include "gui/TrackListNames.h"
#include "track/DataFileError.h"
#include "track/MapObject.h"
#include "track/TrackFileList.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>
#include <OGRE/OgreLogManager.h>

namespace
{
const char* const kStandardMaps = "../media/maps/";
const char* const kTerrainList = "../media/terrain/TerrainList.xml";

void logMessage(const std::string& text)
{
    Ogre::LogManager::getSingleton().logMessage(text);
}

std::string describeError(const std::exception& error)
{
    return error.what();
}
}

LevelMenuState LevelMenuState::instance;

LevelMenuState* LevelMenuState::getInstance()
{
    return &instance;
}

const TerrainDesc& LevelMenuState::getTerrain(const std::string& name) const
{
    const auto found = terrains.find(name);
    if (found == terrains.end())
        throw "Requested terrain could not be found!";
    return found->second;
}

void LevelMenuState::enter()
{
    logMessage("enter LevelMenuState");
    MenuState::enter();
    nextRequested = backRequested = false;

    logMessage("enter LevelMenuState: layout");
    CEGUI::Window* menu = showLayout("LevelMenuState", "LevelMenu.xml");
    try
    {
        logMessage("enter LevelMenuState: setup event handlers");
        findWindow("LevelMenuState", menu, "Back")->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                        CEGUI::Event::Subscriber(&LevelMenuState::handleBack, this));
        findWindow("LevelMenuState", menu, "Next")->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                        CEGUI::Event::Subscriber(&LevelMenuState::handleNext, this));
        logMessage("enter LevelMenuState: setup gui elements");
        mapImage = findWindow("LevelMenuState", menu, "MapImage");
        mapList = static_cast<CEGUI::Listbox*>(findWindow("LevelMenuState", menu, "MapList"));
        message = findWindow("LevelMenuState", menu, "Message");
        mapList->subscribeEvent(CEGUI::Listbox::EventSelectionChanged,
                                CEGUI::Event::Subscriber(&LevelMenuState::handleMapSelected, this));
    }
    catch (const CEGUI::Exception& error)
    {
        debugLog() << "LevelMenuState: layout lacks a window: " << error.what() << std::endl;
        throw entryError("LevelMenuState");
    }

    problems = pendingMessage.empty() ? "" : pendingMessage + "\n";
    pendingMessage.clear();
    logMessage("enter LevelMenuState: read TerrainDescMap");
    try
    {
        terrains = XMLParser::getInstance()->loadTerrainDescMap(kTerrainList);
        tiles = XMLParser::getInstance()->loadTrackObjectDescs(MapObject::kTileListPath);
        populateMapList();
    }
    catch (const std::exception& error)
    {
        // Without the terrain or tile list no track can be raced; the menu still leads back.
        logMessage("LevelMenuState: " + describeError(error));
        problems += describeError(error) + "\n";
    }
    // Without a problem to report, the box tells how to drive.
    GameManager* game = GameManager::getInstance();
    const InputManager* input = game->getInputManager();
    message->setText(guiText(problems.empty() && game->getGameConfiguration()
                                 ? RaceKeysHint::text(*game->getGameConfiguration(), input ? input->getKeyboard() : nullptr)
                                 : problems));
    logMessage("enter LevelMenuState: done!");
}

bool LevelMenuState::describeTrack(const std::string& path, bool standard, MapDescription& description)
{
    std::string problem;
    try
    {
        std::unique_ptr<MapDescription> read = XMLParser::getInstance()->loadMapDescription(path);
        description = *read;
        description.filePath = path;
        description.standardMap = standard;
        getTerrain(description.terrainName);
        XMLParser::getInstance()->loadMap(path, &tiles);
        return true;
    }
    catch (const std::exception& error)
    {
        problem = describeError(error);
    }
    catch (const char* error)
    {
        problem = std::string(error) + " (" + description.terrainName + ")";
    }
    logMessage("populate MapList: skipped " + path + ": " + problem);
    problems += "Skipped broken track " + path.substr(path.rfind('/') + 1) + ": " + problem + "\n";
    return false;
}

void LevelMenuState::populateMapList()
{
    logMessage("populate MapList ...");
    mapList->resetList();
    chosenItem = nullptr;
    maps.clear();

    std::vector<std::pair<TrackFile, bool>> tracks;
    for (const TrackFile& track : listTrackFiles(kStandardMaps))
        tracks.emplace_back(track, true);
    const GameConfiguration* settings = GameManager::getInstance()->getGameConfiguration();
    if (settings)
        for (const TrackFile& track : listTrackFiles(settings->getSavePath() + "maps/"))
            tracks.emplace_back(track, false);

    std::vector<ListedTrack> listed;
    for (const auto& [track, standard] : tracks)
    {
        MapDescription description;
        if (!describeTrack(track.path, standard, description))
            continue;
        // An item's id is its track's key in maps.
        maps[static_cast<int>(listed.size())] = description;
        listed.push_back({track.baseName, standard});
    }
    chosenItem = TextList::fill(*mapList, trackListNames(listed));
    if (chosenItem)
        showPicture(getTerrain(maps.at(0).terrainName).levelImage);
    logMessage("populate MapList [done]");
}

void LevelMenuState::showPicture(const std::string& levelImage)
{
    // Each terrain's picture becomes an image named after its file, made on first use.
    const std::string image = levelImage + "/Background";
    try
    {
        CEGUI::ImageManager& images = CEGUI::ImageManager::getSingleton();
        if (!images.isDefined(image))
            images.addFromImageFile(image, levelImage, "General");
        mapImage->setProperty("Image", image);
    }
    catch (const CEGUI::Exception& error)
    {
        logMessage("LevelMenuState: no picture " + levelImage + ": " + error.what());
        mapImage->setProperty("Image", "");
    }
}

bool LevelMenuState::handleMapSelected(const CEGUI::EventArgs&)
{
    CEGUI::ListboxItem* item = mapList->getFirstSelectedItem();
    if (!item)
    {
        // A click below the last track clears the list's choice, and Next would then do nothing.
        if (chosenItem)
            mapList->setItemSelectState(chosenItem, true);
        return true;
    }
    chosenItem = item;
    const auto found = maps.find(static_cast<int>(item->getID()));
    if (found != maps.end())
        showPicture(getTerrain(found->second.terrainName).levelImage);
    return true;
}

bool LevelMenuState::handleNext(const CEGUI::EventArgs&)
{
    const CEGUI::ListboxItem* item = mapList->getFirstSelectedItem();
    if (!item)
        return true;
    LoadState::getInstance()->setMapDescription(maps.at(static_cast<int>(item->getID())));
    nextRequested = true;
    return true;
}

bool LevelMenuState::handleBack(const CEGUI::EventArgs&)
{
    backRequested = true;
    return true;
}

void LevelMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (event.key == OIS::KC_ESCAPE)
        backRequested = true;
}

bool LevelMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (nextRequested)
        manager->changeState(LoadState::getInstance());
    else if (backRequested)
        manager->changeState(MainMenuState::getInstance());
    return true;
}

bool LevelMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}

void LevelMenuState::exit()
{
    // The list's items go before the tables they were made from.
    if (mapList)
        mapList->resetList();
    mapList = nullptr;
    chosenItem = nullptr;
    mapImage = message = nullptr;
    XMLParser::getInstance()->deleteTerrainDescs(terrains);
    XMLParser::getInstance()->deleteTrackObjectDescs(tiles);
    MenuState::exit();
}
