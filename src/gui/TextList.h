// The menus' and the editor's lists of names: a GUI list box or combo box filled with one
// plain-text item per name, one of them selected.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace CEGUI
{
class Combobox;
class Listbox;
class ListboxItem;
}

namespace TextList
{
// Empties the list and adds an item per text, in order, with its index as id; texts are shown
// as they stand (as UTF-8, damage repaired), never read as markup (file and player names). Selects the item at selected,
// the first when there is none such, and returns it; null for no texts.
CEGUI::ListboxItem* fill(CEGUI::Listbox& list, const std::vector<std::string>& texts, std::size_t selected = 0);
// The same; the box's edit part shows the selected text, or nothing.
CEGUI::ListboxItem* fill(CEGUI::Combobox& box, const std::vector<std::string>& texts, std::size_t selected = 0);

// The index of the first text equal to wanted; 0 when there is none.
std::size_t indexOf(const std::vector<std::string>& texts, const std::string& wanted);
}
