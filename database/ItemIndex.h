#ifndef VELMAR_DB_ITEMINDEX_H
#define VELMAR_DB_ITEMINDEX_H

#include <QString>
#include <QUuid>

namespace Velmar {
namespace DB {

// A reference to one chip, kept in the per-user settings as
// "ItemIndex(<uuid>,<page id>,<entry id>)". An entry id of 0 or less
// stands for no chip.
class ItemIndex
{
public:
    ItemIndex();
    explicit ItemIndex(const QString &text);

    QString toString() const;

    QUuid collection;
    qint64 pageId;
    qint64 entryId;
};

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_ITEMINDEX_H
