// Telling well-formed UTF-8 from damaged text, repairing it, and cutting it by characters.
#include "Utf8Text.h"

#include <gtest/gtest.h>

TEST(Utf8TextTest, WellFormedTextPassesAndEveryDamageIsReplacedOnce)
{
    const std::string bad = "\xEF\xBF\xBD";  // U+FFFD
    struct Case
    {
        const char* what;
        std::string text;
        std::string repaired;  // the text itself when it is valid
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"ASCII", "Oval 2", "Oval 2"},
        {"two, three and four bytes", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8F\x81", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8F\x81"},
        {"the last code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
        {"one changed byte in a name", "Jo\xA9", "Jo" + bad},
        {"a stray continuation byte", "a\x80" "b", "a" + bad + "b"},
        {"a sequence cut at the end", "caf\xC3", "caf" + bad},
        {"a sequence cut inside", "\xE2\x82" "A", bad + "A"},
        {"a four-byte sequence cut twice", "\xF0\x9F\x8F" "\xF0\x9F", bad + bad},
        {"an overlong slash", "\xC0\xAF", bad + bad},
        {"an overlong three-byte form", "\xE0\x80\xAF", bad + bad + bad},
        {"a surrogate", "\xED\xA0\x80", bad + bad + bad},
        {"above U+10FFFF", "\xF4\x90\x80\x80", bad + bad + bad + bad},
        {"bytes no sequence has", "\xFE\xFF", bad + bad},
        {"a zero byte is text", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.text == c.repaired, isValidUtf8(c.text)) << c.what;
        EXPECT_EQ(c.repaired, repairedUtf8(c.text)) << c.what;
        EXPECT_TRUE(isValidUtf8(repairedUtf8(c.text))) << c.what;
    }
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
