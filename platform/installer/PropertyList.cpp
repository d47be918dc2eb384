#include "PropertyList.h"

#include "RegularFile.h"

#include <QDateTime>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <limits>
#include <memory>
#include <mutex>

namespace {

struct DocumentCloser
{
    void operator()(xmlDoc *document) const { xmlFreeDoc(document); }
};

// Property lists from packages nest only a few levels; a deeper one is
// refused rather than risking the stack.
const int MaximumDepth = 256;

class Reader
{
public:
    QString error;

    QVariant value(xmlNode *node, int depth)
    {
        if (depth > MaximumDepth)
            return fail(QStringLiteral("nesting too deep"));
        const QByteArray tag(reinterpret_cast<const char *>(node->name));
        if (tag == "dict")
            return dictionary(node, depth);
        if (tag == "array") {
            QVariantList list;
            for (xmlNode *child = firstElement(node->children); child; child = firstElement(child->next)) {
                const QVariant item = value(child, depth + 1);
                if (!item.isValid())
                    return QVariant();
                list.append(item);
            }
            return list;
        }
        if (tag == "string")
            return text(node);
        if (tag == "integer")
            return integer(text(node).trimmed());
        if (tag == "real") {
            bool ok = false;
            const double number = text(node).trimmed().toDouble(&ok);
            return ok ? QVariant(number) : fail(QStringLiteral("bad real"));
        }
        if (tag == "true")
            return true;
        if (tag == "false")
            return false;
        if (tag == "data")
            return QByteArray::fromBase64(text(node).toLatin1());
        if (tag == "date") {
            const QDateTime date = QDateTime::fromString(text(node).trimmed(), Qt::ISODate);
            return date.isValid() ? QVariant(date) : fail(QStringLiteral("bad date"));
        }
        return fail(QStringLiteral("unknown element <%1>").arg(QString::fromUtf8(tag)));
    }

    static xmlNode *firstElement(xmlNode *node)
    {
        while (node && node->type != XML_ELEMENT_NODE)
            node = node->next;
        return node;
    }

private:
    QVariant fail(const QString &message)
    {
        if (error.isEmpty())
            error = message;
        return QVariant();
    }

    static QString text(xmlNode *node)
    {
        xmlChar *content = xmlNodeGetContent(node);
        const QString result = QString::fromUtf8(reinterpret_cast<const char *>(content));
        xmlFree(content);
        return result;
    }

    QVariant dictionary(xmlNode *node, int depth)
    {
        QVariantMap map;
        for (xmlNode *child = firstElement(node->children); child; child = firstElement(child->next)) {
            if (qstrcmp(reinterpret_cast<const char *>(child->name), "key") != 0)
                return fail(QStringLiteral("dict entry without key"));
            const QString key = text(child);
            xmlNode *valueNode = firstElement(child->next);
            if (!valueNode)
                return fail(QStringLiteral("key \"%1\" without value").arg(key));
            const QVariant item = value(valueNode, depth + 1);
            if (!item.isValid())
                return QVariant();
            map.insert(key, item);
            child = valueNode;
        }
        return map;
    }

    QVariant integer(const QString &digits)
    {
        bool ok = false;
        const qint64 number = digits.toLongLong(&ok, 10);
        if (ok)
            return number;
        const quint64 large = digits.toULongLong(&ok, 10);
        if (ok)
            return large;
        return fail(QStringLiteral("bad integer"));
    }
};

// Set when the text declares an entity; the parse stops at the declaration.
struct ParseState
{
    bool declaresEntity = false;
};

void refuseEntityDeclaration(void *context, const xmlChar *, int, const xmlChar *, const xmlChar *, xmlChar *)
{
    auto *parser = static_cast<xmlParserCtxtPtr>(context);
    static_cast<ParseState *>(parser->_private)->declaresEntity = true;
    xmlStopParser(parser);
}

struct ParserCloser
{
    void operator()(xmlParserCtxt *parser) const { xmlFreeParserCtxt(parser); }
};

// The document of xml; null with *error set when it is not well-formed or
// declares an entity. No network, no external files, and no entities at
// all: property lists need none, and a few declared ones referenced often
// expand to gigabytes.
std::unique_ptr<xmlDoc, DocumentCloser> parse(const QByteArray &xml, QString *error)
{
    std::unique_ptr<xmlDoc, DocumentCloser> document;
    if (xml.isEmpty() || xml.size() >= std::numeric_limits<int>::max())
        return document;
    std::unique_ptr<xmlParserCtxt, ParserCloser> parser(xmlCreateMemoryParserCtxt(xml.constData(), int(xml.size())));
    if (!parser)
        return document;
    xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    ParseState state;
    parser->_private = &state;
    parser->sax->entityDecl = refuseEntityDeclaration;
    xmlParseDocument(parser.get());
    document.reset(parser->myDoc);
    parser->myDoc = nullptr;
    if (state.declaresEntity) {
        *error = QStringLiteral("entity declarations are not allowed");
        document.reset();
    } else if (!parser->wellFormed) {
        document.reset();
    }
    return document;
}

} // namespace

QVariant PropertyList::fromXml(const QByteArray &xml, QString *error)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });

    Reader reader;
    QVariant result;
    const std::unique_ptr<xmlDoc, DocumentCloser> document = parse(xml, &reader.error);
    xmlNode *root = document ? xmlDocGetRootElement(document.get()) : nullptr;
    if (!root) {
        if (reader.error.isEmpty())
            reader.error = QStringLiteral("not well-formed XML");
    } else if (qstrcmp(reinterpret_cast<const char *>(root->name), "plist") != 0) {
        reader.error = QStringLiteral("root element is not <plist>");
    } else if (xmlNode *top = Reader::firstElement(root->children)) {
        result = reader.value(top, 0);
    } else {
        reader.error = QStringLiteral("empty property list");
    }
    if (error)
        *error = result.isValid() ? QString() : reader.error;
    return result;
}

QVariant PropertyList::fromFile(const QString &path, QString *error)
{
    QString readError;
    const std::optional<QByteArray> bytes = RegularFile::read(path, RegularFile::DefaultLimit, &readError);
    if (!bytes) {
        if (error)
            *error = readError;
        return QVariant();
    }
    return fromXml(*bytes, error);
}
