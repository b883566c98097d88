// Checked attribute and element reading for the data-file readers.
#include "track/XmlFieldReader.h"

#include "XmlDocumentFile.h"
#include "track/DataFileError.h"

#include <tinyxml.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace
{
bool onlyBlanksFrom(const char* text)
{
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r')
        ++text;
    return *text == '\0';
}

std::string quoted(const char* value)
{
    return std::string("\"") + value + "\"";
}

template <typename Number>
std::string outside(Number min, Number max)
{
    std::ostringstream text;
    text << ", outside " << min << ".." << max;
    return text.str();
}

std::string attributeName(const TiXmlElement& element, const char* name)
{
    return "attribute \"" + std::string(name) + "\" of <" + element.Value() + ">";
}
}

XmlFieldReader::XmlFieldReader(std::string file, std::string message) : file(std::move(file)), message(std::move(message))
{
}

std::unique_ptr<TiXmlDocument> XmlFieldReader::load() const
{
    auto document = std::make_unique<TiXmlDocument>();
    std::string problem;
    if (!loadXmlDocument(*document, file, problem))
        throw DataFileError(file, message, problem);
    return document;
}

const TiXmlElement& XmlFieldReader::root(const TiXmlDocument& document, const char* rootName) const
{
    const TiXmlElement* element = document.FirstChildElement(rootName);
    if (element)
        return *element;
    const TiXmlElement* other = document.FirstChildElement();
    throw DataFileError(file, message,
                        "the root element is " + (other ? "<" + std::string(other->Value()) + ">" : std::string("missing")) +
                            ", not <" + rootName + ">");
}

void XmlFieldReader::fail(const TiXmlElement* element, const std::string& problem) const
{
    std::ostringstream where;
    if (element)
        where << "line " << element->Row() << ": ";
    throw DataFileError(file, message, where.str() + problem);
}

void XmlFieldReader::onlyChildren(const TiXmlElement& parent, std::initializer_list<const char*> names) const
{
    for (const TiXmlNode* node = parent.FirstChild(); node; node = node->NextSibling())
    {
        if (node->ToText())
            throw DataFileError(file, message,
                                "line " + std::to_string(node->Row()) + ": unexpected text in <" + parent.Value() + ">");
        const TiXmlElement* element = node->ToElement();
        if (!element)
            continue;
        bool known = false;
        for (const char* name : names)
            known = known || element->ValueStr() == name;
        if (!known)
            fail(element, "unknown element <" + element->ValueStr() + "> in <" + parent.Value() + ">");
    }
}

const TiXmlElement& XmlFieldReader::child(const TiXmlElement& parent, const char* name) const
{
    const TiXmlElement* element = parent.FirstChildElement(name);
    if (!element)
        fail(&parent, "element <" + std::string(name) + "> is missing in <" + parent.Value() + ">");
    return *element;
}

std::string XmlFieldReader::text(const TiXmlElement& element) const
{
    const char* value = element.GetText();
    if (!value || !*value)
        fail(&element, "element <" + std::string(element.Value()) + "> has no text");
    return value;
}

bool XmlFieldReader::has(const TiXmlElement& element, const char* name)
{
    return element.Attribute(name) != nullptr;
}

std::string XmlFieldReader::requiredString(const TiXmlElement& element, const char* name) const
{
    const char* value = element.Attribute(name);
    if (!value)
        fail(&element, attributeName(element, name) + " is missing");
    return value;
}

int XmlFieldReader::requiredInt(const TiXmlElement& element, const char* name, int min, int max) const
{
    if (!has(element, name))
        fail(&element, attributeName(element, name) + " is missing");
    return parseInt(element, name, min, max);
}

int XmlFieldReader::optionalInt(const TiXmlElement& element, const char* name, int fallback, int min, int max) const
{
    return has(element, name) ? parseInt(element, name, min, max) : fallback;
}

int XmlFieldReader::parseInt(const TiXmlElement& element, const char* name, int min, int max) const
{
    const char* value = element.Attribute(name);
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(value, &end, 10);
    if (end == value || !onlyBlanksFrom(end) || errno == ERANGE)
        fail(&element, attributeName(element, name) + " is " + quoted(value) + ", not a whole number");
    if (number < min || number > max)
        fail(&element, attributeName(element, name) + " is " + quoted(value) + outside(min, max));
    return static_cast<int>(number);
}

float XmlFieldReader::optionalReal(const TiXmlElement& element, const char* name, float fallback, float min,
                                   float max) const
{
    const char* value = element.Attribute(name);
    if (!value)
        return fallback;
    char* end = nullptr;
    const float number = std::strtof(value, &end);
    if (end == value || !onlyBlanksFrom(end) || !std::isfinite(number))
        fail(&element, attributeName(element, name) + " is " + quoted(value) + ", not a number");
    if (number < min || number > max)
        fail(&element, attributeName(element, name) + " is " + quoted(value) + outside(min, max));
    return number;
}
