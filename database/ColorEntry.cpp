#include "database/ColorEntry.h"

#include "database/RecordReader.h"

#include <QDebug>

namespace Velmar {
namespace DB {

ColorEntry::ColorEntry()
{
    ColorEntry::reset();
}

ColorEntry::ColorEntry(const QSqlRecord &record)
    : AbstractBase(record)
{
    ColorEntry::fromSqlRecord(record);
}

bool ColorEntry::isValid() const
{
    // Whether a look-up found a chip is told by its status code and the id.
    return true;
}

void ColorEntry::reset()
{
    AbstractBase::reset();
    collectionId = -1;
    pageId = -1;
    rowIndex = -1;
    code.clear();
    segment = -1;
    red = -1;
    green = -1;
    blue = -1;
    L = 0.0;
    a = 0.0;
    b = 0.0;
    isMto = false;
    neutral = false;
    white = false;
    mood = 0;
    schemePos = -1;
    nSchemePos = -1;
    names.clear();
    extras.clear();
}

int ColorEntry::fromSqlRecord(const QSqlRecord &record)
{
    reset();
    AbstractBase::fromSqlRecord(record);
    takeColumns(record);
    return 0;
}

void ColorEntry::takeColumns(const QSqlRecord &record)
{
    if (!RecordReader::take(record, QStringLiteral("COLLECTION_ID"), collectionId))
        qDebug() << "Oops.";
    RecordReader::take(record, QStringLiteral("PAGE_ID"), pageId);
    RecordReader::take(record, QStringLiteral("CODE"), code);
    RecordReader::takeNamesAndExtras(record, names, extras);
    RecordReader::take(record, QStringLiteral("SEGMENT"), segment);
    RecordReader::take(record, QStringLiteral("ROW_INDEX"), rowIndex);
    RecordReader::take(record, QStringLiteral("RED"), red);
    RecordReader::take(record, QStringLiteral("GREEN"), green);
    RecordReader::take(record, QStringLiteral("BLUE"), blue);
    RecordReader::take(record, QStringLiteral("L"), L);
    RecordReader::take(record, QStringLiteral("A"), a);
    RecordReader::take(record, QStringLiteral("B"), b);
    RecordReader::takeFlag(record, QStringLiteral("IS_MTO"), isMto);
    RecordReader::takeFlag(record, QStringLiteral("NEUTRAL"), neutral);
    RecordReader::takeFlag(record, QStringLiteral("WHITE"), white);
    RecordReader::takeMood(record, QStringLiteral("MOOD"), mood);
    RecordReader::take(record, QStringLiteral("SCHEME_POS"), schemePos);
    RecordReader::take(record, QStringLiteral("NSCHEME_POS"), nSchemePos);
}

QString ColorEntry::name(int index) const
{
    return RecordReader::itemAt(names, index);
}

QString ColorEntry::extra(int index) const
{
    return RecordReader::itemAt(extras, index);
}

} // namespace DB
} // namespace Velmar
