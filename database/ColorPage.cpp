#include "database/ColorPage.h"

#include "database/RecordReader.h"

namespace Velmar {
namespace DB {

ColorPage::ColorPage()
    : pageIndex(-1)
    , segment(-1)
    , exterior(false)
    , mood(0)
{
}

ColorPage::ColorPage(const QSqlRecord &record)
    : AbstractBase(record)
    , pageIndex(-1)
    , segment(-1)
    , exterior(false)
    , mood(0)
{
    RecordReader::take(record, QStringLiteral("PAGE_INDEX"), pageIndex);
    RecordReader::take(record, QStringLiteral("SEGMENT"), segment);
    RecordReader::takeNamesAndExtras(record, names, extras);
    RecordReader::takeFlag(record, QStringLiteral("EXTERIOR"), exterior);
    RecordReader::takeMood(record, QStringLiteral("MOOD"), mood);
}

bool ColorPage::isValid() const
{
    return pageIndex > 0 && segment > 0;
}

QString ColorPage::name(int index) const
{
    return RecordReader::itemAt(names, index);
}

QString ColorPage::extra(int index) const
{
    return RecordReader::itemAt(extras, index);
}

} // namespace DB
} // namespace Velmar
