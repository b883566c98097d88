// Every menu layout loads on our skin and holds every window its state looks up by name.
#include "gui/EditorMenuWindows.h"
#include "gui/OptionsMenuWindows.h"

#include "NullGui.h"

#include <CEGUI/CEGUI.h>

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <vector>

namespace
{
class MenuLayout : public testing::Test
{
protected:
    static void SetUpTestSuite() { NullGui::start(); }

    static void expectWindows(const std::string& layoutFile, const std::vector<std::string>& names)
    {
        CEGUI::Window* root = nullptr;
        try
        {
            root = CEGUI::WindowManager::getSingleton().loadLayoutFromFile(layoutFile);
        }
        catch (const CEGUI::Exception& error)
        {
            ADD_FAILURE() << layoutFile << ": " << error.what();
            return;
        }
        for (const std::string& name : names)
            EXPECT_NE(root->getChildRecursive(name), nullptr) << layoutFile << " lacks " << name;
        CEGUI::WindowManager::getSingleton().destroyWindow(root);
    }
};
}

TEST_F(MenuLayout, EveryLayoutHoldsTheWindowsItsStateUses)
{
    expectWindows("MainMenu.xml", {"Play", "Editor", "Options", "Quit"});
    expectWindows("LevelMenu.xml", {"Back", "Next", "MapList", "MapImage", "Message"});
    expectWindows("LoadMenu.xml", {"LoadText"});
    expectWindows("InGameMenu.xml", {"Resume", "Restart", "MainMenu"});
    expectWindows("newHighScoreDialog.xml", {"NewHighScoreName", "NewHighScoreProblem", "NewHighScoreOk"});

    std::vector<std::string> table = {"RaceAgain", "MainMenu", "Problem"};
    for (int rank = 1; rank <= 10; ++rank)
    {
        table.push_back("HighScore" + std::to_string(rank) + "_Name");
        table.push_back("HighScore" + std::to_string(rank) + "_Time");
    }
    expectWindows("HighscoreMenu.xml", table);
}

TEST_F(MenuLayout, AButtonBackToTheMainMenuLiesOverNoneOfItsButtons)
{
    // The main menu opens under the pointer: the second click of a double click on the way
    // back must not land on Play, Editor, Options or Quit.
    const auto rectOf = [](CEGUI::Window* root, const std::string& name) {
        return root->getChildRecursive(name)->getUnclippedOuterRect().get();
    };
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    const auto loadOnTheScreen = [&windows](const char* layout) {
        CEGUI::Window* root = windows.loadLayoutFromFile(layout);
        root->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(0, 1024), CEGUI::UDim(0, 768)));
        return root;
    };
    CEGUI::Window* mainMenu = loadOnTheScreen("MainMenu.xml");
    ASSERT_GT(rectOf(mainMenu, "Play").getWidth(), 100.0f);
    for (const char* layout : {"InGameMenu.xml", "HighscoreMenu.xml"})
    {
        CEGUI::Window* root = loadOnTheScreen(layout);
        const CEGUI::Rectf back = rectOf(root, "MainMenu");
        for (const char* button : {"Play", "Editor", "Options", "Quit"})
        {
            const CEGUI::Rectf under = rectOf(mainMenu, button);
            const bool apart = back.right() <= under.left() || under.right() <= back.left() ||
                               back.bottom() <= under.top() || under.bottom() <= back.top();
            EXPECT_TRUE(apart) << layout << ": \"Main menu\" lies over the main menu's " << button;
        }
        windows.destroyWindow(root);
    }
    windows.destroyWindow(mainMenu);
}

TEST_F(MenuLayout, TypedAndListedNamesAreShownAsTextNotMarkup)
{
    // A player's name or file name with markup in it must not recolour or break the menu.
    const auto expectPlain = [](const std::string& layoutFile, const std::vector<std::string>& names) {
        CEGUI::Window* root = CEGUI::WindowManager::getSingleton().loadLayoutFromFile(layoutFile);
        for (const std::string& name : names)
            EXPECT_FALSE(root->getChildRecursive(name)->isTextParsingEnabled()) << layoutFile << ": " << name;
        CEGUI::WindowManager::getSingleton().destroyWindow(root);
    };
    expectPlain("HighscoreMenu.xml", {"HighScore1_Name", "HighScore10_Name", "Problem"});
    expectPlain("newHighScoreDialog.xml", {"NewHighScoreName", "NewHighScoreProblem"});
    expectPlain("LevelMenu.xml", {"Message"});
}

namespace
{

int countNamed(const CEGUI::Window* window, const std::string& name)
{
    int count = window->getName() == name ? 1 : 0;
    for (std::size_t index = 0; index < window->getChildCount(); ++index)
        count += countNamed(window->getChildAtIdx(index), name);
    return count;
}
}

TEST_F(MenuLayout, TheOptionsLayoutHoldsEveryControlOnceAndOfTheKindTheMenuTakesItFor)
{
    CEGUI::Window* root = CEGUI::WindowManager::getSingleton().loadLayoutFromFile(OptionsMenuWindows::kLayoutFile);
    for (const OptionsMenuWindows::Window& wanted : OptionsMenuWindows::kWindows)
    {
        SCOPED_TRACE(wanted.name);
        CEGUI::Window* found = root->getChildRecursive(wanted.name);
        ASSERT_NE(nullptr, found);
        EXPECT_TRUE(isOfKind(found, wanted.kind)) << found->getType();
        // A second window of the name (a tab page called "Sound") could be found instead.
        EXPECT_EQ(1, countNamed(root, wanted.name));
        if (auto* box = dynamic_cast<CEGUI::Combobox*>(found))
        {
            EXPECT_TRUE(box->isReadOnly()) << "only listed values may be chosen";
        }
        if (auto* bar = dynamic_cast<CEGUI::Scrollbar*>(found))
        {
            // Densities and volumes are the positions themselves, over the whole of 0..1.
            bar->setScrollPosition(1.0f);
            EXPECT_FLOAT_EQ(1.0f, bar->getScrollPosition());
            bar->setScrollPosition(0.35f);
            EXPECT_FLOAT_EQ(0.35f, bar->getScrollPosition());
        }
    }
    auto* tabs = static_cast<CEGUI::TabControl*>(root->getChildRecursive("Tab"));
    ASSERT_NE(nullptr, tabs);
    for (const char* page : OptionsMenuWindows::kTabs)
    {
        SCOPED_TRACE(page);
        EXPECT_NO_THROW(tabs->setSelectedTab(page));
        EXPECT_EQ(page, tabs->getTabContentsAtIndex(tabs->getSelectedTabIndex())->getName());
    }
    EXPECT_FALSE(root->getChildRecursive("Message")->isTextParsingEnabled()) << "error texts hold file names";
    CEGUI::WindowManager::getSingleton().destroyWindow(root);
}

TEST_F(MenuLayout, EditorLayoutsHoldTheirWindowsAndScrollInFractions)
{
    // The editor's layout with its dialogs laid over it, hidden, as the editor builds it.
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* root = windows.loadLayoutFromFile(EditorMenuWindows::kLayoutFile);
    for (const EditorMenuWindows::Dialog& dialog : EditorMenuWindows::kDialogs)
    {
        CEGUI::Window* loaded = windows.loadLayoutFromFile(dialog.layoutFile);
        root->addChild(loaded);
        loaded->hide();
    }
    for (const NamedWindow& wanted : EditorMenuWindows::kWindows)
    {
        SCOPED_TRACE(wanted.name);
        CEGUI::Window* found = root->getChildRecursive(wanted.name);
        ASSERT_NE(nullptr, found);
        EXPECT_TRUE(isOfKind(found, wanted.kind)) << found->getType();
        // A dialog's "Back" would be found for the editor's own.
        EXPECT_EQ(1, countNamed(root, wanted.name));
    }

    // The scroll handlers take the position as the fraction of the way across the track.
    for (const char* name : {"ScrollBarH", "ScrollBarV"})
    {
        auto* bar = dynamic_cast<CEGUI::Scrollbar*>(root->getChildRecursive(name));
        ASSERT_NE(bar, nullptr) << name;
        bar->setScrollPosition(1.0f);
        EXPECT_FLOAT_EQ(bar->getScrollPosition(), 1.0f) << name << " does not reach the far end";
        EXPECT_FLOAT_EQ(bar->getUnitIntervalScrollPosition(), 1.0f) << name;
    }
    // A click on an arrow moves the track by one cell: 60 steps across, 64 down.
    CEGUI::GUIContext& context = CEGUI::System::getSingleton().getDefaultGUIContext();
    const CEGUI::Rectf screen(0, 0, 1024, 768);
    CEGUI::System::getSingleton().notifyDisplaySizeChanged(screen.getSize());
    context.getMouseCursor().setConstraintArea(&screen);
    context.setRootWindow(root);
    const auto click = [&context](CEGUI::Window* button) {
        const CEGUI::Rectf area = button->getUnclippedOuterRect().get();
        context.injectMousePosition((area.left() + area.right()) / 2, (area.top() + area.bottom()) / 2);
        context.injectMouseButtonDown(CEGUI::LeftButton);
        context.injectMouseButtonUp(CEGUI::LeftButton);
    };
    const struct
    {
        const char* name;
        float steps;
    } bars[] = {{"ScrollBarH", 60.0f}, {"ScrollBarV", 64.0f}};
    for (const auto& bar : bars)
    {
        auto* scrollbar = static_cast<CEGUI::Scrollbar*>(root->getChildRecursive(bar.name));
        scrollbar->setUnitIntervalScrollPosition(0.5f);
        click(scrollbar->getIncreaseButton());
        EXPECT_NEAR(scrollbar->getUnitIntervalScrollPosition() * bar.steps, bar.steps / 2 + 1, 1e-3f) << bar.name;
        click(scrollbar->getDecreaseButton());
        EXPECT_NEAR(scrollbar->getUnitIntervalScrollPosition() * bar.steps, bar.steps / 2, 1e-3f) << bar.name;
    }
    context.setRootWindow(nullptr);
    // The panes are see-through: the grid, palette and preview are drawn behind the GUI.
    for (const char* name : {"TrackGridPaneDummy", "SelectorGridPaneDummy"})
        EXPECT_EQ(root->getChildRecursive(name)->getType(), "DefaultWindow") << name;
    // A pane's cells are square on a 4:3 window: 20 x 16 track cells, 5 x 10 palette cells.
    const auto aspect = [root](const char* name, float columns, float rows) {
        const CEGUI::URect& area = root->getChildRecursive(name)->getArea();
        return (area.getWidth().d_scale * 4 / columns) / (area.getHeight().d_scale * 3 / rows);
    };
    EXPECT_NEAR(aspect("TrackGridPaneDummy", 20, 16), 1.0f, 0.02f);
    EXPECT_NEAR(aspect("SelectorGridPaneDummy", 5, 10), 1.0f, 0.05f);
    EXPECT_FALSE(root->getChildRecursive("SaveDialogMapname")->isTextParsingEnabled());
    windows.destroyWindow(root);
}
