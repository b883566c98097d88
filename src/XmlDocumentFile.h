// Reads an XML data file with TinyXML in its byte-wise (legacy) mode. Its UTF-8 mode reads
// past the end of its buffer on some damaged files; our files are ASCII, and names in other
// encodings pass through byte for byte either way.
#pragma once

#include <string>

class TiXmlDocument;

// False when the file can't be opened or is not well-formed; the document holds the error.
bool loadXmlDocument(TiXmlDocument& document, const std::string& path);
