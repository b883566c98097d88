// UTF-8 checks and cuts: what the engine's overlays and the GUI can be handed.
#include "Utf8Text.h"

#include <gtest/gtest.h>

TEST(Utf8Text, WellFormedTextOnly)
{
    struct Case
    {
        const char* what;
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"ASCII with a control character", "Ada\t00:01:23:45", true},
        {"two-byte characters", "Zoë, Łukasz", true},
        {"three-byte characters", "€ ひらがな", true},
        {"four-byte characters", "🏁 𝄞", true},
        {"the edges of the ranges",
         "\xc2\x80 \xdf\xbf \xe0\xa0\x80 \xed\x9f\xbf \xee\x80\x80 \xf0\x90\x80\x80 \xf4\x8f\xbf\xbf", true},
        {"a NUL inside", std::string("a\0b", 3), true},
        {"a Latin-1 byte", "Ad\xe9", false},
        {"a stray continuation byte", "a\x80", false},
        {"a sequence cut at the end", "00:01:23:4\xc3", false},
        {"a three-byte sequence cut short", "\xe2\x82", false},
        {"a lead byte followed by ASCII", "\xc3(", false},
        {"an overlong two-byte slash", "\xc0\xaf", false},
        {"C1 is always overlong", "\xc1\xbf", false},
        {"an overlong three-byte form", "\xe0\x80\xaf", false},
        {"an overlong four-byte form", "\xf0\x80\x80\xaf", false},
        {"a surrogate", "\xed\xa0\x80", false},
        {"past U+10FFFF", "\xf4\x90\x80\x80", false},
        {"F5 and above", "\xf5\x80\x80\x80", false},
        {"FF", "\xff", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidUtf8(c.text), c.valid) << c.what;
}

TEST(Utf8Text, PrefixesKeepWholeCharacters)
{
    struct Case
    {
        std::string text;
        std::size_t characters;
        std::string prefix;
    };
    const Case cases[] = {
        {"Ada", 10, "Ada"},
        {"Ada", 2, "Ad"},
        {"Ada", 0, ""},
        {"", 5, ""},
        {"éé", 1, "é"},
        {"aéb", 2, "aé"},
        {"€🏁x", 2, "€🏁"},
        {"🏁🏁🏁", 3, "🏁🏁🏁"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8Prefix(c.text, c.characters), c.prefix) << c.text << ", " << c.characters;
}
