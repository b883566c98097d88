// The menus' name lists on the GUI library without a window: what a filled list box or combo
// box holds, which item is selected and shown, and names kept as plain text.
#include "gui/TextList.h"

#include "NullGui.h"

#include <CEGUI/CEGUI.h>
#include <gtest/gtest.h>

namespace
{
class TextListTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { NullGui::start(); }
    void TearDown() override
    {
        for (CEGUI::Window* window : made)
            CEGUI::WindowManager::getSingleton().destroyWindow(window);
    }

    template <class Widget>
    Widget& make(const char* type)
    {
        made.push_back(CEGUI::WindowManager::getSingleton().createWindow(type));
        return *static_cast<Widget*>(made.back());
    }

    static std::vector<std::string> itemsOf(const CEGUI::Listbox& list)
    {
        std::vector<std::string> texts;
        for (std::size_t index = 0; index < list.getItemCount(); ++index)
        {
            const CEGUI::ListboxItem* item = list.getListboxItemFromIndex(index);
            EXPECT_EQ(item->getID(), index) << "an item's id is its index";
            texts.push_back(item->getText().c_str());
        }
        return texts;
    }

    std::vector<CEGUI::Window*> made;
};

const std::vector<std::string> kTerrains = {"Desert", "Grass", "Valley"};
}

TEST_F(TextListTest, AComboBoxShowsTheSelectedNameAndAnEmptyListShowsNone)
{
    auto& box = make<CEGUI::Combobox>("TaharezLook/Combobox");
    const struct Case
    {
        const char* name;
        std::vector<std::string> texts;
        std::size_t selected;
        std::string shown;
    } cases[] = {
        {"the one asked for", kTerrains, TextList::indexOf(kTerrains, "Valley"), "Valley"},
        {"the first for a name not listed", kTerrains, TextList::indexOf(kTerrains, "Moon"), "Desert"},
        {"the first for an index past the end", kTerrains, 7, "Desert"},
        {"none from an empty list, after a full one", {}, 0, ""},
        {"a list shorter than the last", {"800 x 600"}, 0, "800 x 600"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const CEGUI::ListboxItem* chosen = TextList::fill(box, c.texts, c.selected);
        EXPECT_EQ(box.getText().c_str(), c.shown);
        EXPECT_EQ(itemsOf(*box.getDropList()), c.texts) << "the last fill's items replace the earlier ones";
        EXPECT_EQ(box.getSelectedItem(), chosen);
        if (c.texts.empty())
            EXPECT_EQ(chosen, nullptr);
        else
            ASSERT_NE(chosen, nullptr);
    }
}

TEST_F(TextListTest, AListBoxSelectsOneItemAndShowsNamesAsTheyStand)
{
    auto& list = make<CEGUI::Listbox>("TaharezLook/Listbox");
    // A player's track name that looks like markup must not recolour the list or vanish.
    const std::vector<std::string> tracks = {"DesertRun", "[colour='FFFF0000']Mine", "TestLoop"};
    TextList::fill(list, {"Old"});
    CEGUI::ListboxItem* chosen = TextList::fill(list, tracks, 1);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(itemsOf(list), tracks);
    EXPECT_EQ(list.getFirstSelectedItem(), chosen);
    EXPECT_EQ(list.getNextSelected(chosen), nullptr) << "one selected item";
    EXPECT_EQ(chosen->getText(), "[colour='FFFF0000']Mine");
    EXPECT_FALSE(static_cast<CEGUI::ListboxTextItem*>(chosen)->isTextParsingEnabled());
}

TEST_F(TextListTest, NamesAreShownAsUtf8WithDamageReplaced)
{
    auto& box = make<CEGUI::Combobox>("TaharezLook/Combobox");
    // A track file named in UTF-8, one with a byte of another encoding, one cut mid-character.
    TextList::fill(box, {"Caf\xC3\xA9", "Bad\xFF", "Jo\xC3"}, 1);
    EXPECT_EQ(itemsOf(*box.getDropList()),
              (std::vector<std::string>{"Caf\xC3\xA9", "Bad\xEF\xBF\xBD", "Jo\xEF\xBF\xBD"}));
    EXPECT_EQ(std::string(box.getText().c_str()), "Bad\xEF\xBF\xBD");
    EXPECT_EQ(box.getText().length(), 4u) << "four characters";
}
