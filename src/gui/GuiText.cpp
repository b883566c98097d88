// Repaired UTF-8 into the GUI library's strings.
#include "gui/GuiText.h"

#include "Utf8Text.h"

CEGUI::String guiText(const std::string& text)
{
    const std::string repaired = repairedUtf8(text);
    return CEGUI::String(reinterpret_cast<const CEGUI::utf8*>(repaired.data()), repaired.size());
}
