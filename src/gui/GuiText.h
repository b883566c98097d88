// Texts for the GUI's windows: read as UTF-8, with what is not (a damaged file, a file name in
// another encoding) shown as U+FFFD rather than handed to a decoder that does not look.
#pragma once

#include <CEGUI/String.h>

#include <string>

CEGUI::String guiText(const std::string& text);
