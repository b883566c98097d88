// Every menu layout loads on our skin and holds every window its state looks up by name.
#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// The windows need the pictures' names only, not their pixels.
class NoPixelsCodec : public CEGUI::ImageCodec
{
public:
    NoPixelsCodec() : CEGUI::ImageCodec("no pixels") {}
    CEGUI::Texture* load(const CEGUI::RawDataContainer&, CEGUI::Texture* result) override { return result; }
};

class MenuLayout : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CEGUI::NullRenderer& renderer = CEGUI::NullRenderer::create();
        auto* resources = new CEGUI::DefaultResourceProvider();
        const std::string shared = "/usr/share/cegui-0.8.7/";
        // The built media: our layouts beside the pictures the media tool made.
        resources->setResourceGroupDirectory("gui", QUILLMOR_BUILD_DIR "/media/gui/");
        resources->setResourceGroupDirectory("imagesets", shared + "imagesets/");
        resources->setResourceGroupDirectory("fonts", shared + "fonts/");
        resources->setResourceGroupDirectory("looknfeel", shared + "looknfeel/");
        static NoPixelsCodec codec;
        CEGUI::System::create(renderer, resources, nullptr, &codec, nullptr, "", "/dev/null");
        CEGUI::ImageManager::setImagesetDefaultResourceGroup("imagesets");
        CEGUI::Font::setDefaultResourceGroup("fonts");
        CEGUI::Scheme::setDefaultResourceGroup("gui");
        CEGUI::WidgetLookManager::setDefaultResourceGroup("looknfeel");
        CEGUI::WindowManager::setDefaultResourceGroup("gui");
        CEGUI::SchemeManager::getSingleton().createFromFile("TaharezLookSkin.scheme");
        CEGUI::ImageManager::setImagesetDefaultResourceGroup("gui");
        CEGUI::ImageManager::getSingleton().loadImageset("MainMenu.imageset");
    }

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
    expectWindows("MainMenu.layout", {"Play", "Editor", "Options", "Quit"});
    expectWindows("LevelMenu.layout", {"Back", "Next", "MapList", "MapImage", "Message"});
    expectWindows("LoadMenu.layout", {"LoadText"});
    expectWindows("ComingSoon.layout", {"Title", "Back"});
    expectWindows("InGameMenu.layout", {"Resume", "Restart", "MainMenu"});
    expectWindows("newHighScoreDialog.layout", {"NewHighScoreName", "NewHighScoreOk"});

    std::vector<std::string> table = {"RaceAgain", "MainMenu", "Problem"};
    for (int rank = 1; rank <= 10; ++rank)
    {
        table.push_back("HighScore" + std::to_string(rank) + "_Name");
        table.push_back("HighScore" + std::to_string(rank) + "_Time");
    }
    expectWindows("HighscoreMenu.layout", table);
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
    expectPlain("HighscoreMenu.layout", {"HighScore1_Name", "HighScore10_Name", "Problem"});
    expectPlain("newHighScoreDialog.layout", {"NewHighScoreName"});
    expectPlain("LevelMenu.layout", {"Message"});
}
