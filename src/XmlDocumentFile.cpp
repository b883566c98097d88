// Safe loading of XML data files.
#include "XmlDocumentFile.h"

#include <tinyxml.h>

bool loadXmlDocument(TiXmlDocument& document, const std::string& path)
{
    return document.LoadFile(path.c_str(), TIXML_ENCODING_LEGACY);
}
