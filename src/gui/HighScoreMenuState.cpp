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
    static_cast<CEGUI::Editbox*>(nameBox)->setMaxTextLength(Score::kMaxNameLength);
}

void HighScoreMenuState::exit()
{
    dialog = nameBox = problem = nullptr;
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
    if (rankToName != 0 && dialog)
    {
        dialog->show();
        nameBox->activate();
        dialogOpen = true;
    }
    updateList();
}

void HighScoreMenuState::showSaveError(const std::string& error)
{
    showProblem("The race's results could not be saved: " + error);
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
    if (Score* score = table.getScore(rankToName))
        score->setName(nameBox->getText().c_str());
    else
        debugLog() << "HIGHSCORE ERROR: newHighScore = NULL" << std::endl;
    std::string error;
    if (!HighScore::save(tablePath, table, &error))
        showProblem("The high scores could not be saved: " + error);
    updateList();
    dialog->hide();
    dialogOpen = false;
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
