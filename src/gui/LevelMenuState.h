// The track choice: the built-in tracks, then the player's own, each with its terrain's
// picture; Next loads the chosen one, Back returns to the main menu.
#pragma once

#include "gui/MenuState.h"
#include "track/MapDescription.h"
#include "track/TerrainDesc.h"
#include "track/TrackObjectDesc.h"

#include <map>
#include <string>

namespace CEGUI
{
class EventArgs;
class Listbox;
class ListboxItem;
class Window;
}

class LevelMenuState : public MenuState
{
public:
    static LevelMenuState* getInstance();

    void enter() override;
    void exit() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

    // Throws "Requested terrain could not be found!" for a name not in the terrain list.
    const TerrainDesc& getTerrain(const std::string& name) const;
    // A text shown on the next entry, such as why the chosen race could not be loaded.
    void setMessage(const std::string& text) { pendingMessage = text; }

private:
    LevelMenuState() = default;
    void populateMapList();
    // False (and a log line) when the track can't be raced; the reason goes to problems.
    bool describeTrack(const std::string& path, bool standard, MapDescription& description);
    void showPicture(const std::string& levelImage);
    bool handleMapSelected(const CEGUI::EventArgs& args);
    bool handleNext(const CEGUI::EventArgs& args);
    bool handleBack(const CEGUI::EventArgs& args);

    bool nextRequested = false;
    bool backRequested = false;
    CEGUI::Window* mapImage = nullptr;
    CEGUI::Listbox* mapList = nullptr;
    CEGUI::ListboxItem* chosenItem = nullptr;  // kept chosen when a click in the list hits no track
    CEGUI::Window* message = nullptr;
    TerrainDescs terrains;
    TrackObjectDescs tiles;  // to refuse a track naming a tile that does not exist
    std::map<int, MapDescription> maps;
    std::string problems;
    std::string pendingMessage;
    static LevelMenuState instance;
};
