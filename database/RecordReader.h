#ifndef VELMAR_DB_RECORDREADER_H
#define VELMAR_DB_RECORDREADER_H

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Velmar {
namespace DB {

// How every record takes a column: only when the column is there, its value
// has a type and converts to the field's type. A SQLite NULL arrives as a
// null text, which counts as present and gives 0 for a number. When a joined
// statement returns several columns of one name, the first one counts.
class RecordReader
{
public:
    template<typename T>
    static bool take(const QSqlRecord &record, const QString &column, T &field)
    {
        const int index = record.indexOf(column);
        if (index < 0)
            return false;
        const QVariant value = record.value(index);
        if (!value.isValid() || !value.canConvert<T>())
            return false;
        field = value.value<T>();
        return true;
    }

    // A flag is stored as an int; anything but 0 is true.
    static bool takeFlag(const QSqlRecord &record, const QString &column, bool &field);

    // A mood column is kept only when it names one of the six moods.
    static bool takeMood(const QSqlRecord &record, const QString &column, int &field);

    // Appends the columns NAME0..NAME9 and EXTRA0..EXTRA9; a missing column
    // appends an empty text, so both lists always hold ten items.
    static void takeNamesAndExtras(const QSqlRecord &record, QStringList &names, QStringList &extras);

    static QString itemAt(const QStringList &list, int index);
};

} // namespace DB
} // namespace Velmar

#endif // VELMAR_DB_RECORDREADER_H
