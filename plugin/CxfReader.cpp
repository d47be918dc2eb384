#include "plugin/CxfReader.h"

#include "inc/XmlPointer.h"

#include <libxml/xpathInternals.h>

#include <limits>

namespace Velmar {

const QString CxfReader::CoreNamespaceUri = QStringLiteral("http://colorexchangeformat.com/CxF3-core");
const int CxfReader::ParseOptions = XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_COMPACT;

namespace {

// A broken file is an ordinary event here and ends the read without a
// message; the handlers belong to this read's contexts alone, so libxml2's
// process-wide error handling stays as the host set it.
void ignoreError(void *, xmlErrorPtr)
{
}

} // namespace

int CxfReader::objectNames(const QByteArray &cxf, QStringList &names)
{
    names.clear();
    if (cxf.size() > std::numeric_limits<int>::max())
        return -1;
    Xml::ensureInitialized();

    Xml::xml_scoped_ptr<xmlParserCtxt> parser(xmlNewParserCtxt());
    if (!parser || !parser->sax)
        return -1;
    parser->sax->serror = ignoreError;

    Xml::xml_scoped_ptr<xmlDoc> document(
        xmlCtxtReadMemory(parser.get(), cxf.constData(), int(cxf.size()), "", "UTF-8", ParseOptions));
    if (!document)
        return -1;

    Xml::xml_scoped_ptr<xmlXPathContext> xpath(xmlXPathNewContext(document.get()));
    if (!xpath)
        return -2;
    xpath->error = ignoreError;
    const QByteArray uri = CoreNamespaceUri.toUtf8();
    if (xmlXPathRegisterNs(xpath.get(), BAD_CAST "cc", BAD_CAST uri.constData()) != 0)
        return -2;

    Xml::xml_scoped_ptr<xmlXPathObject> result(xmlXPathEvalExpression(BAD_CAST "//cc:Object/@Name", xpath.get()));
    if (!result || result->type != XPATH_NODESET)
        return -2;
    const xmlNodeSetPtr nodes = result->nodesetval;
    if (!nodes)
        return 0;
    for (int i = 0; i < nodes->nodeNr; ++i) {
        const xmlNodePtr node = nodes->nodeTab[i];
        if (!node || node->type != XML_ATTRIBUTE_NODE || !node->children)
            continue;
        // The whole value: a name written with an entity of the file's own
        // DTD comes in several child nodes.
        xmlChar *value = xmlNodeListGetString(document.get(), node->children, 1);
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(value));
        xmlFree(value);
        if (!name.isEmpty())
            names.append(name);
    }
    return 0;
}

} // namespace Velmar
