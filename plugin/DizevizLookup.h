#ifndef VELMAR_DIZEVIZLOOKUP_H
#define VELMAR_DIZEVIZLOOKUP_H

#include "database/ColorEntry.h"

#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVector>

namespace Velmar {

// The database side of the Dizeviz link: where a collection's device leaves
// its file, which chips the measured names stand for, and which collection a
// found chip belongs to. Every use of numeric collection ids on this path is
// here, since those ids are unique only within one collection file.
class DizevizLookup
{
public:
    // The file the device leaves for the collection: its folder setting, used
    // as given, joined with the file name; "" when the link is off or either
    // setting is missing.
    static QString watchedFilePath(const QUuid &collection);

    // The chips whose code or searched name is one of the names: grouped by
    // Dizeviz-enabled collection in priority order, each group in the order
    // found and without repeats. Collections that are not enabled give none.
    static QVector<DB::ColorEntry> offerFor(const QStringList &names);

    // The collection a found chip belongs to, resolved within the file that
    // the search ran on; null when it is not installed.
    static QUuid collectionUuidOf(const DB::ColorEntry &entry);
    // Its name; "" when it cannot be read.
    static QString collectionNameOf(const DB::ColorEntry &entry);

private:
    DizevizLookup() = default;
};

} // namespace Velmar

#endif // VELMAR_DIZEVIZLOOKUP_H
