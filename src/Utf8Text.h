// UTF-8 checks for texts read from files: the engine's overlays throw on a bad sequence and the
// GUI library decodes without looking, so a text from a file is checked or repaired first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True when text is well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);
// The text with every byte that is no part of a well-formed sequence replaced by U+FFFD
// (a truncated sequence counts once); valid text comes back unchanged.
std::string repairedUtf8(std::string_view text);
// The first `characters` characters of UTF-8 text, never cutting one in two.
std::string utf8Prefix(const std::string& text, std::size_t characters);
