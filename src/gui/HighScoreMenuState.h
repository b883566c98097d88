// The high-score menu, pushed over the finished race: the track's ten best, the name of a
// new record, a new race on the same track or the way back to the main menu.
#pragma once

#include "HighScore.h"
#include "gui/MenuState.h"

#include <string>

namespace CEGUI
{
class EventArgs;
class Window;
}

class HighScoreMenuState : public MenuState
{
public:
    static HighScoreMenuState* getInstance();

    void enter() override;
    void exit() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

    // The race just finished: its rank in the table (0 when it did not make it) and its run.
    // Call before setTrack.
    void setRaceResult(int rank, const Score& score);
    // Shows the table of the file and asks for a name when it holds this race's run.
    void setTrack(const std::string& path);
    // The race could not write its results: the dialog tells the player why, instead of
    // asking for a name.
    void showSaveError(const std::string& error);
    bool isDialogOpen() const { return dialogOpen; }

private:
    HighScoreMenuState() = default;
    void updateList();
    void showProblem(const std::string& text);
    // Opens the dialog; it asks for the name, or only says why something was not saved.
    void openDialog(bool askName, const std::string& title, const std::string& problem);
    void closeDialog();
    bool handleNewHighScoreOk(const CEGUI::EventArgs& args);
    bool handleRaceAgain(const CEGUI::EventArgs& args);
    bool handleMainMenu(const CEGUI::EventArgs& args);

    bool raceAgainRequested = false;
    bool mainMenuRequested = false;
    CEGUI::Window* dialog = nullptr;
    CEGUI::Window* names[HighScore::kRanks] = {};
    CEGUI::Window* times[HighScore::kRanks] = {};
    CEGUI::Window* nameBox = nullptr;
    CEGUI::Window* dialogProblem = nullptr;
    CEGUI::Window* problem = nullptr;
    HighScore table;
    std::string tablePath;
    int raceRank = 0;
    Score raceScore;
    int rankToName = 0;
    bool dialogOpen = false;
    static HighScoreMenuState instance;
};
