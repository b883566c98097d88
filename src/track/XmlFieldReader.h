// Typed, checked reading of one data file's elements and attributes: every problem is
// thrown as a DataFileError naming the file, the line and the element or attribute.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

class XmlFieldReader
{
public:
    // message is the reader's own text, used as the first part of every error.
    XmlFieldReader(std::string file, std::string message);

    // Loads the file; throws when it is missing, unreadable or not well-formed.
    std::unique_ptr<TiXmlDocument> load() const;
    // The document's first element named rootName; throws naming the root it has instead.
    const TiXmlElement& root(const TiXmlDocument& document, const char* rootName) const;

    [[noreturn]] void fail(const TiXmlElement* element, const std::string& problem) const;

    // Throws, naming the line, for a child element not among names or for text in parent:
    // damage there would otherwise lose what it hides (a tile under garbage, say).
    void onlyChildren(const TiXmlElement& parent, std::initializer_list<const char*> names) const;
    // The first child element of that name; throws when there is none.
    const TiXmlElement& child(const TiXmlElement& parent, const char* name) const;
    // The element's text; throws when it has none.
    std::string text(const TiXmlElement& element) const;

    static bool has(const TiXmlElement& element, const char* name);
    std::string requiredString(const TiXmlElement& element, const char* name) const;
    // A decimal whole number within [min, max]; throws when missing, malformed or out of range.
    int requiredInt(const TiXmlElement& element, const char* name, int min, int max) const;
    int optionalInt(const TiXmlElement& element, const char* name, int fallback, int min, int max) const;
    // A finite real number within [min, max]; throws when malformed or out of range.
    float optionalReal(const TiXmlElement& element, const char* name, float fallback, float min, float max) const;

    const std::string& getFile() const { return file; }

private:
    std::string file;
    std::string message;

    int parseInt(const TiXmlElement& element, const char* name, int min, int max) const;
};
