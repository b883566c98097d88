// The high-score menu.
#include "gui/HighScoreMenuState.h"

#include "GameManager.h"
#include "LogStream.h"
#include "PlayState.h"
#include "gui/MainMenuState.h"
#include "gui/RecordRank.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>

HighScoreMenuState HighScoreMenuState::instance;

namespace
{
const char* const kAskName = "New record! Your name:";
}

HighScoreMenuState* HighScoreMenuState::getInstance()
{
    return &instance;
}

void HighScoreMenuState::enter()
{
    MenuState::enter();
    raceAgainRequested = mainMenuRequested = dialogOpen = false;
    rankToName = 0;
    CEGUI::Window* menu = showLayout("HighScoreMenuState", "HighscoreMenu.xml");
    dialog = readLayout("HighScoreMenuState", "newHighScoreDialog.xml");
    // A child of the layout, so it goes with it on exit.
    menu->addChild(dialog);
    dialog->hide();

    const auto subscribe = [](CEGUI::Window* from, const char* name,
                              bool (HighScoreMenuState::*handler)(const CEGUI::EventArgs&)) {
        findWindow("HighScoreMenuState", from, name)->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                      CEGUI::Event::Subscriber(handler, &instance));
    };
    subscribe(menu, "MainMenu", &HighScoreMenuState::handleMainMenu);
    subscribe(menu, "RaceAgain", &HighScoreMenuState::handleRaceAgain);
    subscribe(dialog, "NewHighScoreOk", &HighScoreMenuState::handleNewHighScoreOk);
    for (int rank = 1; rank <= HighScore::kRanks; ++rank)
    {
        const std::string label = "HighScore" + std::to_string(rank);
        names[rank - 1] = findWindow("HighScoreMenuState", menu, label + "_Name");
        times[rank - 1] = findWindow("HighScoreMenuState", menu, label + "_Time");
    }
    problem = findWindow("HighScoreMenuState", menu, "Problem");
    nameBox = findWindow("HighScoreMenuState", dialog, "NewHighScoreName");
    // In characters, as the name is cut.
    static_cast<CEGUI::Editbox*>(nameBox)->setMaxTextLength(Score::kMaxNameLength);
    dialogProblem = findWindow("HighScoreMenuState", dialog, "NewHighScoreProblem");
}

void HighScoreMenuState::exit()
{
    dialog = nameBox = dialogProblem = problem = nullptr;
    for (int rank = 0; rank < HighScore::kRanks; ++rank)
        names[rank] = times[rank] = nullptr;
    MenuState::exit();
}

void HighScoreMenuState::setRaceResult(int rank, const Score& score)
{
    raceRank = rank;
    raceScore = score;
}

void HighScoreMenuState::setTrack(const std::string& path)
{
    tablePath = path;
    std::string error;
    table = HighScore::load(path, &error);
    if (!error.empty())
        showProblem(error);
    rankToName = recordRankToName(table, raceRank, raceScore);
    if (raceRank != 0 && rankToName == 0)
        debugLog() << "HighScoreMenuState: the table in " << path << " does not hold this race at rank " << raceRank
                   << "; no name asked" << std::endl;
    if (rankToName != 0)
        openDialog(true, kAskName, "");
    updateList();
}

void HighScoreMenuState::showSaveError(const std::string& error)
{
    debugLog() << "HighScoreMenuState: the race's results were not saved: " << error << std::endl;
    rankToName = 0;
    openDialog(false, "Your run could not be saved", error);
}

void HighScoreMenuState::openDialog(bool askName, const std::string& title, const std::string& text)
{
    if (!dialog)
        return;
    dialog->setText(title);
    nameBox->setVisible(askName);
    dialogProblem->setText(CEGUI::String(reinterpret_cast<const CEGUI::utf8*>(text.c_str())));
    dialog->show();
    dialog->activate();
    if (askName)
        nameBox->activate();
    dialogOpen = true;
}

void HighScoreMenuState::closeDialog()
{
    if (dialog)
        dialog->hide();
    dialogOpen = false;
}

void HighScoreMenuState::updateList()
{
    if (!names[0])
        return;
    for (int rank = 1; rank <= HighScore::kRanks; ++rank)
    {
        const Score* score = table.getScore(rank);
        names[rank - 1]->setText(score ? CEGUI::String(reinterpret_cast<const CEGUI::utf8*>(score->getName().c_str()))
                                       : CEGUI::String("---"));
        times[rank - 1]->setText(score ? score->getTotalText() : "---");
    }
}

void HighScoreMenuState::showProblem(const std::string& text)
{
    debugLog() << "HighScoreMenuState: " << text << std::endl;
    if (problem)
        problem->setText(text);
}

bool HighScoreMenuState::handleNewHighScoreOk(const CEGUI::EventArgs&)
{
    if (!dialogOpen)
        return true;
    // Without a rank to name, the dialog only told why the results were not saved.
    std::string error;
    if (rankToName != 0 && !table.getScore(rankToName))
    {
        debugLog() << "HIGHSCORE ERROR: newHighScore = NULL" << std::endl;
        if (!HighScore::save(tablePath, table, &error))
            showProblem("The high scores could not be saved: " + error);
    }
    else if (rankToName != 0 && !nameRecord(table, rankToName, nameBox->getText().c_str(), tablePath, error))
    {
        // Still open: the player sees why and may try again, or leave the record unnamed.
        openDialog(true, kAskName, "Your name could not be saved: " + error);
        return true;
    }
    updateList();
    closeDialog();
    return true;
}

bool HighScoreMenuState::handleRaceAgain(const CEGUI::EventArgs&)
{
    raceAgainRequested = true;
    return true;
}

bool HighScoreMenuState::handleMainMenu(const CEGUI::EventArgs&)
{
    mainMenuRequested = true;
    return true;
}

void HighScoreMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (dialogOpen)
    {
        if (event.key == OIS::KC_RETURN || event.key == OIS::KC_NUMPADENTER)
            handleNewHighScoreOk(CEGUI::EventArgs());
        return;
    }
    if (event.key == OIS::KC_ESCAPE)
        mainMenuRequested = true;
}

bool HighScoreMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (raceAgainRequested)
    {
        PlayState::getInstance()->restartRace();
        manager->popState();
    }
    else if (mainMenuRequested)
    {
        manager->popState();
        manager->changeState(MainMenuState::getInstance());
    }
    return true;
}

bool HighScoreMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
