// Reads an XML data file with TinyXML in its byte-wise (legacy) mode. Its UTF-8 mode reads
// past the end of its buffer on some damaged files; our files are ASCII, and names in other
// encodings pass through byte for byte either way.
#pragma once

#include <cstddef>
#include <string>

class TiXmlDocument;

// The deepest element nesting any of our formats has, with room to spare. TinyXML parses
// recursively: a document nested tens of thousands deep would overflow the stack.
constexpr int kMaxXmlDepth = 32;
// The largest data file (track, tile, car, terrain list) the game reads.
constexpr std::size_t kMaxXmlFileBytes = 4u << 20;

// False, with the reason in problem (and its line where there is one), when the file is not a
// regular file of at most maxBytes, is nested deeper than kMaxXmlDepth, is not well-formed, or
// holds what none of our formats has: markup TinyXML doesn't know ("<!x>", "<%...>", stray
// "<" in text) or text beside child elements.
bool loadXmlDocument(TiXmlDocument& document, const std::string& path, std::string& problem,
                     std::size_t maxBytes = kMaxXmlFileBytes);

// The depth check on its own: false, with the line in problem, when text nests elements
// deeper than maxDepth. Comments, CDATA, declarations and quoted attribute values are skipped
// the way TinyXML skips them.
bool checkXmlDepth(const std::string& text, int maxDepth, std::string& problem);
