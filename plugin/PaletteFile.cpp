#include "plugin/PaletteFile.h"

#include "database/ColorPage.h"
#include "database/DBManager.h"
#include "inc/XmlPointer.h"
#include "plugin/FileReplacer.h"

#include <QIODevice>
#include <QRect>
#include <QSharedPointer>
#include <QStringConverter>
#include <QTextStream>

#include <libxml/xmlsave.h>

#include <algorithm>

namespace Velmar {

const qint64 PaletteFile::s_maximumFileSize = 1024 * 1024;

namespace {

const QRect cellBounds(0, 0, 6, 4);

// A chip that can be written: its own record and that of its card.
struct WrittenCell {
    QPoint coord;
    QUuid collection;
    DB::ColorEntry entry;
    DB::ColorPage page;
};

// The cells whose chip and card can still be read, row by row. A chip that
// has moved to another card since it was put into the palette is left out.
QVector<WrittenCell> writtenCells(QVector<PaletteFile::Cell> cells)
{
    std::stable_sort(cells.begin(), cells.end(), [](const PaletteFile::Cell &left, const PaletteFile::Cell &right) {
        return left.coord.y() != right.coord.y() ? left.coord.y() < right.coord.y() : left.coord.x() < right.coord.x();
    });
    QVector<WrittenCell> written;
    for (const PaletteFile::Cell &cell : qAsConst(cells)) {
        if (cell.index.entryId <= 0)
            continue;
        WrittenCell w;
        w.coord = cell.coord;
        w.collection = cell.index.collection;
        if (DBManager::GetColorEntryById(w.collection, cell.index.entryId, w.entry) != 0)
            continue;
        if (DBManager::GetColorPageById(w.collection, cell.index.pageId, true, w.page) != 0)
            continue;
        if (w.entry.pageId != w.page.id)
            continue;
        written.append(w);
    }
    return written;
}

const xmlChar *xmlText(const QByteArray &utf8)
{
    return reinterpret_cast<const xmlChar *>(utf8.constData());
}

QByteArray safeUtf8(const QString &text)
{
    return PaletteFile::xmlSafe(text).toUtf8();
}

xmlNodePtr firstNode(xmlXPathObjectPtr result)
{
    if (!result || result->type != XPATH_NODESET || !result->nodesetval || result->nodesetval->nodeNr < 1)
        return nullptr;
    return result->nodesetval->nodeTab[0];
}

xmlXPathObjectPtr evaluate(xmlXPathContextPtr context, const char *expression)
{
    return xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(expression), context);
}

// The text of an attribute node found by XPath; false when it has none.
bool attributeText(xmlNodePtr node, QString &out)
{
    if (!node || node->type != XML_ATTRIBUTE_NODE || !node->children || node->children->type != XML_TEXT_NODE
        || !node->children->content)
        return false;
    out = QString::fromUtf8(reinterpret_cast<const char *>(node->children->content));
    return true;
}

// An attribute of an element, "" when missing.
QString property(xmlNodePtr node, const char *name)
{
    xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        return QString();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text;
}

bool hasContent(xmlNodePtr node)
{
    return node && node->content && node->content[0] != 0;
}

QString contentOf(xmlNodePtr node)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(node->content));
}

// A version 3 chip: an "entry" child naming collection, card index, chip
// index and code; the code must still be that chip's.
bool resolveEntry(xmlNodePtr chip, QUuid &collection, DB::ColorEntry &entry)
{
    xmlNodePtr child = chip->children;
    if (!child || child->type != XML_ELEMENT_NODE || xmlStrcasecmp(child->name, reinterpret_cast<const xmlChar *>("entry")) != 0)
        return false;
    collection = QUuid::fromString(property(child, "uuid-of-collection"));
    const int pageIndex = property(child, "page-index").toInt();
    const int rowIndex = property(child, "row-index").toInt();
    const QString code = property(child, "color-code");
    if (DBManager::GetColorEntryByPageAndRowIndex(collection, pageIndex, rowIndex, entry) != 0)
        return false;
    return entry.code.compare(code, Qt::CaseInsensitive) == 0;
}

// A version 2 chip: a search phrase, which must find a chip (not a card).
bool resolvePhrase(xmlNodePtr chip, const QUuid &collection, DB::ColorEntry &entry)
{
    xmlNodePtr child = chip->children;
    if (!child || child->type != XML_TEXT_NODE || !hasContent(child))
        return false;
    int pageIndex = -1;
    int rowIndex = -1;
    int segment = -1;
    Mood mood = MoodNone;
    bool exterior = false;
    if (DBManager::SearchForPhrase(collection, contentOf(child), pageIndex, rowIndex, segment, mood, exterior) != 0
        || pageIndex <= 0 || rowIndex <= 0)
        return false;
    return DBManager::GetColorEntryByPageAndRowIndex(collection, pageIndex, rowIndex, entry) == 0;
}

} // namespace

QByteArray PaletteFile::buildXml(const QVector<Cell> &cells, const QString &description)
{
    Xml::ensureInitialized();
    const QVector<WrittenCell> written = writtenCells(cells);

    xmlDocPtr document = nullptr;
    {
        // The writer hands the document over to us, complete once the
        // writer is gone.
        Xml::xml_scoped_ptr<xmlTextWriter> writer(xmlNewTextWriterDoc(&document, 0));
        if (!writer)
            return QByteArray();
        xmlTextWriterPtr w = writer.get();
        const auto text = [w](const char *s) { xmlTextWriterWriteString(w, reinterpret_cast<const xmlChar *>(s)); };
        const auto start = [w](const char *name) { xmlTextWriterStartElement(w, reinterpret_cast<const xmlChar *>(name)); };
        const auto attribute = [w](const char *name, const QByteArray &value) {
            xmlTextWriterWriteAttribute(w, reinterpret_cast<const xmlChar *>(name), xmlText(value));
        };

        xmlTextWriterStartDocument(w, nullptr, "UTF-8", nullptr);
        start("tavo-palette");
        attribute("version", "3.0");
        attribute("system", "multi-collection");
        text("\n");
        text("\t");
        start("description");
        const QByteArray note = safeUtf8(description);
        if (!note.isEmpty())
            xmlTextWriterWriteString(w, xmlText(note));
        xmlTextWriterEndElement(w);
        text("\n");
        text("\t");
        start("chips");
        for (const WrittenCell &cell : written) {
            text("\n\t\t");
            start("chip");
            attribute("row", QByteArray::number(cell.coord.y()));
            attribute("col", QByteArray::number(cell.coord.x()));
            text("\n\t\t\t");
            start("entry");
            attribute("uuid-of-collection", cell.collection.toString().toUtf8());
            attribute("page-index", QByteArray::number(cell.page.pageIndex));
            attribute("row-index", QByteArray::number(cell.entry.rowIndex));
            attribute("color-code", safeUtf8(cell.entry.code));
            xmlTextWriterEndElement(w);
            text("\n\t\t");
            xmlTextWriterEndElement(w);
        }
        text("\n\t");
        xmlTextWriterEndElement(w);
        text("\n");
        xmlTextWriterEndElement(w);
        xmlTextWriterEndDocument(w);
    }
    Xml::xml_scoped_ptr<xmlDoc> doc(document);
    if (!doc)
        return QByteArray();

    Xml::xml_scoped_ptr<xmlBuffer> buffer(xmlBufferCreate());
    if (!buffer)
        return QByteArray();
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer.get(), "UTF-8", 0);
    if (!save)
        return QByteArray();
    xmlSaveDoc(save, doc.get());
    xmlSaveFlush(save);
    xmlSaveClose(save);
    return QByteArray(reinterpret_cast<const char *>(xmlBufferContent(buffer.get())), xmlBufferLength(buffer.get()));
}

QString PaletteFile::buildTextExport(const QVector<Cell> &cells)
{
    QString text;
    for (const WrittenCell &cell : writtenCells(cells)) {
        // The cell's own collection: a numeric collection id is unique only
        // within one file and could name a collection of another file.
        QSharedPointer<DB::Collection> collection;
        if (DBManager::GetCollectionByUuid(cell.collection, collection) == 0 && collection)
            text += collection->name + QStringLiteral(" : ");
        text += cell.entry.code + QLatin1Char('\n');
    }
    return text;
}

bool PaletteFile::writeText(const QString &path, const QString &text)
{
    QByteArray bytes;
    {
        QTextStream stream(&bytes, QIODevice::WriteOnly);
        stream.setEncoding(QStringConverter::Utf8);
        stream.setGenerateByteOrderMark(true);
        stream << text;
        stream.flush();
    }
    return FileReplacer::replace(path, bytes);
}

int PaletteFile::majorVersion(const QString &versionText)
{
    const QStringList parts = versionText.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (parts.size() != 2 || parts.at(1).toInt() != 0)
        return 0;
    return parts.at(0).toInt();
}

QString PaletteFile::xmlSafe(const QString &text)
{
    QString safe;
    safe.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            // Every character beyond the first plane is allowed.
            safe += c;
            safe += text.at(++i);
            continue;
        }
        if (c.isSurrogate())
            continue;
        const char16_t u = c.unicode();
        if (u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xFFFD))
            safe += c;
    }
    return safe;
}

bool PaletteFile::parse(const QByteArray &bytes, Contents &out)
{
    out = Contents();
    if (bytes.size() > s_maximumFileSize)
        return false;
    Xml::ensureInitialized();
    Xml::xml_scoped_ptr<xmlParserCtxt> parser(xmlNewParserCtxt());
    if (!parser)
        return false;
    // No entity substitution, no DTD and no network: a palette file never
    // needs them, and a file from elsewhere must not read other files. A
    // broken file is no one's concern but ours, so the parser stays quiet.
    const int options = XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_NOERROR
        | XML_PARSE_NOWARNING;
    Xml::xml_scoped_ptr<xmlDoc> doc(xmlCtxtReadMemory(parser.get(), bytes.constData(), int(bytes.size()), "", "UTF-8", options));
    if (!doc)
        return false;
    Xml::xml_scoped_ptr<xmlXPathContext> xpath(xmlXPathNewContext(doc.get()));
    if (!xpath)
        return false;

    QString versionText;
    Xml::xml_scoped_ptr<xmlXPathObject> result(evaluate(xpath.get(), "/tavo-palette/@version"));
    if (!attributeText(firstNode(result.get()), versionText))
        return false;
    const int major = majorVersion(versionText);

    QString system;
    result.reset(evaluate(xpath.get(), "/tavo-palette/@system"));
    if (!attributeText(firstNode(result.get()), system))
        return false;

    QUuid versionTwoCollection;
    if (major == 3) {
        if (system.compare(QLatin1String("multi-collection"), Qt::CaseInsensitive) != 0)
            return false;
    } else if (major == 2) {
        if (DBManager::GetCollectionUuidBySystemId(system, versionTwoCollection) != 0)
            return false;
    } else {
        return false;
    }

    result.reset(evaluate(xpath.get(), "/tavo-palette/description"));
    xmlNodePtr description = firstNode(result.get());
    if (description && description->type == XML_ELEMENT_NODE && hasContent(description->children))
        out.description = contentOf(description->children);

    result.reset(evaluate(xpath.get(), "/tavo-palette/chips/chip"));
    if (!result || result->type != XPATH_NODESET || !result->nodesetval)
        return true;
    const xmlNodeSetPtr chips = result->nodesetval;
    for (int i = 0; i < chips->nodeNr; ++i) {
        xmlNodePtr node = chips->nodeTab[i];
        if (!node || node->type != XML_ELEMENT_NODE)
            continue;
        const QPoint coord(property(node, "col").toInt(), property(node, "row").toInt());
        if (!cellBounds.contains(coord))
            continue;
        Chip chip;
        chip.coord = coord;
        QUuid collection = versionTwoCollection;
        const bool found = major == 3 ? resolveEntry(node, collection, chip.entry)
                                      : resolvePhrase(node, collection, chip.entry);
        if (!found)
            continue;
        chip.index.collection = collection;
        chip.index.pageId = chip.entry.pageId;
        chip.index.entryId = chip.entry.id;
        out.chips.append(chip);
    }
    return true;
}

} // namespace Velmar
