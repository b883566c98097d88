// Filling the GUI's lists.
#include "gui/TextList.h"

#include "gui/GuiText.h"

#include <CEGUI/CEGUI.h>

#include <algorithm>

namespace
{
const char* const kSelectionBrush = "TaharezLook/MultiListSelectionBrush";

// A list box and a combo box fill alike, through members of the same names.
template <class List>
CEGUI::ListboxItem* fillList(List& list, const std::vector<std::string>& texts, std::size_t selected)
{
    list.resetList();
    for (std::size_t index = 0; index < texts.size(); ++index)
    {
        auto* item = new CEGUI::ListboxTextItem(guiText(texts[index]), static_cast<CEGUI::uint>(index));
        item->setTextParsingEnabled(false);
        item->setSelectionBrushImage(kSelectionBrush);
        list.addItem(item);  // the list owns it
    }
    if (texts.empty())
        return nullptr;
    CEGUI::ListboxItem* chosen = list.getListboxItemFromIndex(selected < texts.size() ? selected : 0);
    list.setItemSelectState(chosen, true);
    return chosen;
}
}

namespace TextList
{
CEGUI::ListboxItem* fill(CEGUI::Listbox& list, const std::vector<std::string>& texts, std::size_t selected)
{
    return fillList(list, texts, selected);
}

CEGUI::ListboxItem* fill(CEGUI::Combobox& box, const std::vector<std::string>& texts, std::size_t selected)
{
    box.setText("");
    CEGUI::ListboxItem* chosen = fillList(box, texts, selected);
    if (chosen)
        box.setText(chosen->getText());
    return chosen;
}

std::size_t indexOf(const std::vector<std::string>& texts, const std::string& wanted)
{
    const auto found = std::find(texts.begin(), texts.end(), wanted);
    return found == texts.end() ? 0 : static_cast<std::size_t>(found - texts.begin());
}
}
