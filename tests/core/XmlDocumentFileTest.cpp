// XML data files are read byte-wise: TinyXML's UTF-8 mode reads past its buffer on some
// damaged files (one such car file is kept in tests/data/cars/). Anything that is not a
// regular, shallow, well-formed file of ours is refused with a reason before TinyXML recurses.
#include "TempFolder.h"
#include "XmlDocumentFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <sys/stat.h>

namespace
{
std::string nested(int depth, const std::string& open, const std::string& close)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += open;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}
}

TEST(XmlDocumentFileTest, ReadsByteWiseEvenWhenTheFileDeclaresUtf8)
{
    TempFolder folder;
    // A character reference comes out as one byte byte-wise, as two in UTF-8 mode.
    const std::string path =
        folder.write("car.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Car name=\"Caf&#xE9;\"/>");
    TiXmlDocument document;
    std::string problem;
    ASSERT_TRUE(loadXmlDocument(document, path, problem)) << problem;
    EXPECT_EQ(std::string("Caf\xE9"), document.FirstChildElement("Car")->Attribute("name"));
}

TEST(XmlDocumentFileTest, DamagedDocumentsAreRefusedWithTheReasonAndLine)
{
    struct Case
    {
        const char* name;
        std::string content;
        const char* problem;
    };
    const Case cases[] = {
        {"not well-formed", "<Car><Wheel></Car>", "at line 1"},
        {"deep nesting, tens of thousands", nested(50000, "<a>", "</a>"), "nested deeper than 32 levels at line 1"},
        {"deep nesting, open tags only", nested(50000, "<a x='1'>", ""), "nested deeper than 32 levels"},
        {"deep nesting with quoted '>' in attributes", nested(40, "<a v=\"/>\">", "</a>"), "nested deeper"},
        {"deep nesting after a comment line", "<!-- <a/> -->\n" + nested(33, "<b>", "</b>"),
         "nested deeper than 32 levels at line 2"},
        {"unknown markup in the middle", "<Map>\n<Tile/>\n<!garbage>\n<Tile/>\n</Map>",
         "unexpected markup \"<!garbage>\" at line 3"},
        {"stray text beside elements", "<Map>\n<Tile/>\nxx garbage yy\n<Tile/>\n</Map>", "unexpected text \"xx garbage yy"},
        {"binary bytes", std::string("<Map>\0\0\0</Map>", 14), "binary"},
    };
    TempFolder folder;
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        TiXmlDocument document;
        std::string problem;
        EXPECT_FALSE(loadXmlDocument(document, folder.write("damaged.xml", test.content), problem));
        EXPECT_NE(std::string::npos, problem.find(test.problem)) << problem;
    }
}

TEST(XmlDocumentFileTest, TheDeepestNestingAllowedLoadsWithCommentsCdataAndEmptyElements)
{
    TempFolder folder;
    const std::string content = "<?xml version=\"1.0\"?>\n<!-- <<<< -->" + nested(31, "<a k='>' l=\"<\">", "</a>") +
                                "<b><![CDATA[<c><c><c>]]></b><e/><e/>";
    TiXmlDocument document;
    std::string problem;
    EXPECT_TRUE(loadXmlDocument(document, folder.write("deep.xml", "<r>" + content + "</r>"), problem)) << problem;
}

TEST(XmlDocumentFileTest, OnlyRegularFilesOfBoundedSizeAreRead)
{
    TempFolder folder;
    ASSERT_EQ(0, ::mkfifo((folder.path() + "fifo.xml").c_str(), 0600));
    ::mkdir((folder.path() + "folder.xml").c_str(), 0700);
    struct Case
    {
        std::string path;
        const char* problem;
        std::size_t maxBytes;
    };
    const Case cases[] = {
        {folder.path() + "none.xml", "No such file", kMaxXmlFileBytes},
        {folder.path() + "folder.xml", "a folder", kMaxXmlFileBytes},
        {folder.path() + "fifo.xml", "not a regular file", kMaxXmlFileBytes},
        {"/dev/zero", "not a regular file", kMaxXmlFileBytes},
        {folder.write("big.xml", "<Car>" + std::string(100, ' ') + "</Car>"), "larger than 64 bytes", 64},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.path);
        TiXmlDocument document;
        std::string problem;
        EXPECT_FALSE(loadXmlDocument(document, test.path, problem, test.maxBytes));
        EXPECT_NE(std::string::npos, problem.find(test.problem)) << problem;
    }
}
