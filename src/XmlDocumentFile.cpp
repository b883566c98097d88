// Safe loading of XML data files.
#include "XmlDocumentFile.h"

#include "RegularFile.h"

#include <tinyxml.h>

#include <cctype>
#include <cstring>

namespace
{
std::string atLine(int line)
{
    return " at line " + std::to_string(line);
}

class DepthScanner
{
public:
    explicit DepthScanner(const std::string& text) : text(text) {}

    bool scan(int maxDepth, std::string& problem)
    {
        int depth = 0;
        while (position < text.size())
        {
            if (text[position] != '<')
            {
                advance(1);
                continue;
            }
            if (startsWith("<!--"))
                skipPast("-->");
            else if (startsWith("<![CDATA["))
                skipPast("]]>");
            else if (startsWith("<!") || startsWith("<?"))
                skipPast(">");
            else if (startsWith("</"))
            {
                skipPast(">");
                if (depth > 0)
                    --depth;
            }
            else if (position + 1 < text.size() && (std::isalpha(static_cast<unsigned char>(text[position + 1])) ||
                                                    text[position + 1] == '_'))
            {
                const int tagLine = line;
                if (!skipStartTag())
                {
                    ++depth;  // an open tag cut short counts as open: never fewer levels than TinyXML sees
                }
                if (depth > maxDepth)
                {
                    problem = "elements nested deeper than " + std::to_string(maxDepth) + " levels" + atLine(tagLine);
                    return false;
                }
            }
            else
                advance(1);
        }
        return true;
    }

private:
    const std::string& text;
    std::size_t position = 0;
    int line = 1;

    bool startsWith(const char* prefix) const { return text.compare(position, std::strlen(prefix), prefix) == 0; }

    void advance(std::size_t count)
    {
        for (std::size_t i = 0; i < count && position < text.size(); ++i, ++position)
            if (text[position] == '\n')
                ++line;
    }

    void skipPast(const char* end)
    {
        const std::size_t found = text.find(end, position);
        advance(found == std::string::npos ? text.size() - position : found - position + std::strlen(end));
    }

    // From "<name" to the tag's end. True for an empty element ("/>"), false for one left
    // open (">", or anything that ends the tag early, such as another "<").
    bool skipStartTag()
    {
        advance(1);
        bool afterEquals = false;
        while (position < text.size())
        {
            const char c = text[position];
            if (c == '<')
                return false;
            if (c == '>')
            {
                advance(1);
                return false;
            }
            if (c == '/' && position + 1 < text.size() && text[position + 1] == '>')
            {
                advance(2);
                return true;
            }
            if (afterEquals && (c == '"' || c == '\''))
            {
                const std::size_t close = text.find(c, position + 1);
                advance(close == std::string::npos ? text.size() - position : close - position + 1);
                afterEquals = false;
                continue;
            }
            if (c == '=')
                afterEquals = true;
            else if (!std::isspace(static_cast<unsigned char>(c)))
                afterEquals = false;
            advance(1);
        }
        return false;
    }
};

// Markup TinyXML keeps as "unknown", and text mixed with elements, are nothing our formats
// have: they are damage (a tile under them would be silently lost).
bool checkNodes(const TiXmlNode& parent, std::string& problem)
{
    bool hasElement = false;
    const TiXmlText* text = nullptr;
    for (const TiXmlNode* node = parent.FirstChild(); node; node = node->NextSibling())
    {
        if (node->ToUnknown())
        {
            problem = std::string("unexpected markup \"<") + node->Value() + ">\"" + atLine(node->Row());
            return false;
        }
        if (node->ToText() && !text)
            text = node->ToText();
        if (const TiXmlElement* element = node->ToElement())
        {
            hasElement = true;
            if (!checkNodes(*element, problem))
                return false;
        }
    }
    if (text && (hasElement || parent.ToDocument()))
    {
        std::string shown = text->Value();
        if (shown.size() > 20)
            shown = shown.substr(0, 20) + "...";
        problem = "unexpected text \"" + shown + "\"" + atLine(text->Row());
        return false;
    }
    return true;
}
}

bool checkXmlDepth(const std::string& text, int maxDepth, std::string& problem)
{
    return DepthScanner(text).scan(maxDepth, problem);
}

bool loadXmlDocument(TiXmlDocument& document, const std::string& path, std::string& problem, std::size_t maxBytes)
{
    std::string content;
    if (!readRegularFile(path, maxBytes, content, problem))
        return false;
    if (content.find('\0') != std::string::npos)
    {
        problem = "a binary file, not XML";
        return false;
    }
    if (!checkXmlDepth(content, kMaxXmlDepth, problem))
        return false;
    document.SetValue(path);
    document.Parse(content.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    if (document.Error())
    {
        problem = std::string(document.ErrorDesc()) + atLine(document.ErrorRow());
        return false;
    }
    return checkNodes(document, problem);
}
