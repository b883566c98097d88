// Texts read from files reach the engine's overlays and the GUI, which end the game on a
// malformed UTF-8 sequence: readers check them here first.
#pragma once

#include <cstddef>
#include <string>

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no sequence cut
// short, no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(const std::string& text);

// The first `characters` characters of UTF-8 text, never cutting one in two.
std::string utf8Prefix(const std::string& text, std::size_t characters);
