// XML data files are read byte-wise: TinyXML's UTF-8 mode reads past its buffer on some
// damaged files (one such car file is kept in tests/data/cars/).
#include "TempFolder.h"
#include "XmlDocumentFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

TEST(XmlDocumentFileTest, ReadsByteWiseEvenWhenTheFileDeclaresUtf8)
{
    TempFolder folder;
    // A character reference comes out as one byte byte-wise, as two in UTF-8 mode.
    const std::string path =
        folder.write("car.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Car name=\"Caf&#xE9;\"/>");
    TiXmlDocument document;
    ASSERT_TRUE(loadXmlDocument(document, path));
    EXPECT_EQ(std::string("Caf\xE9"), document.FirstChildElement("Car")->Attribute("name"));
}

TEST(XmlDocumentFileTest, MissingAndBrokenFilesAreRefused)
{
    TempFolder folder;
    TiXmlDocument missing;
    EXPECT_FALSE(loadXmlDocument(missing, folder.path() + "none.xml"));
    TiXmlDocument broken;
    EXPECT_FALSE(loadXmlDocument(broken, folder.write("broken.xml", "<Car><Wheel></Car>")));
}
