// The destructive attribute lookup the car file's sound entries rely on.
#include "XMLParser.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

TEST(XmlLookup, FindsAttributesOnlyInFileOrder)
{
    TiXmlDocument document;
    document.Parse(R"(<Sound path="engine.ogg" minvalue="0.5" maxvalue="7" />)");
    TiXmlElement* sound = document.FirstChildElement("Sound");
    ASSERT_NE(sound, nullptr);

    EXPECT_TRUE(XMLParser::hasAttribute(sound, "path"));
    EXPECT_EQ(XMLParser::getString(sound, "path"), "engine.ogg") << "a found attribute stays first";
    EXPECT_FLOAT_EQ(XMLParser::getReal(sound, "maxvalue"), 7.0f);
    EXPECT_FALSE(XMLParser::hasAttribute(sound, "minvalue")) << "asking out of order removed it";
    EXPECT_EQ(sound->FirstAttribute(), nullptr) << "a failed lookup leaves no attribute";
    EXPECT_EQ(XMLParser::getInt(sound, "maxvalue"), 0);
}

TEST(XmlLookup, BoolsAreTrueOnlyForTheExactWords)
{
    struct Case
    {
        const char* value;
        bool expected;
    };
    const Case cases[] = {{"True", true}, {"true", true}, {"TRUE", false}, {"yes", false}, {"1", false}, {"", false}};
    for (const auto& c : cases)
    {
        TiXmlElement element("Physic");
        element.SetAttribute("smooth", c.value);
        EXPECT_EQ(XMLParser::getBool(&element, "smooth"), c.expected) << "'" << c.value << "'";
    }
}
