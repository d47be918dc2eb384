#include "database/ItemIndex.h"

#include <QStringList>

namespace Velmar {
namespace DB {

namespace {
const QString prefix = QStringLiteral("ItemIndex(");
}

ItemIndex::ItemIndex()
    : pageId(-1)
    , entryId(-1)
{
}

ItemIndex::ItemIndex(const QString &text)
    : ItemIndex()
{
    if (!text.startsWith(prefix) || !text.endsWith(QLatin1Char(')')))
        return;
    // Skips the uuid's opening brace with the prefix; the uuid parser takes
    // the text with only its closing brace.
    const int start = prefix.size() + 1;
    if (text.size() - 1 < start)
        return;
    const QStringList parts = text.mid(start, text.size() - 1 - start).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return;
    collection = QUuid::fromString(parts.at(0));
    pageId = parts.at(1).toLongLong();
    entryId = parts.at(2).toLongLong();
}

QString ItemIndex::toString() const
{
    return QStringLiteral("ItemIndex(%1,%2,%3)").arg(collection.toString(), QString::number(pageId), QString::number(entryId));
}

} // namespace DB
} // namespace Velmar
