// The engine pads its video mode names ("1024 x  768"); settings files and menus don't.
#pragma once

#include <string>

// The text with each run of blanks made one and none at either end.
std::string singleBlanks(const std::string& text);
