#include "database/RecordReader.h"

#include "database/DBManager.h"

namespace Velmar {
namespace DB {

bool RecordReader::takeFlag(const QSqlRecord &record, const QString &column, bool &field)
{
    int value = 0;
    if (!take(record, column, value))
        return false;
    field = value != 0;
    return true;
}

bool RecordReader::takeMood(const QSqlRecord &record, const QString &column, int &field)
{
    int value = 0;
    if (!take(record, column, value))
        return false;
    const int mood = DBManager::toMood(value);
    if (mood == MoodNone)
        return false;
    field = mood;
    return true;
}

void RecordReader::takeNamesAndExtras(const QSqlRecord &record, QStringList &names, QStringList &extras)
{
    for (int i = 0; i < 10; ++i) {
        QString name;
        take(record, QStringLiteral("NAME%1").arg(i), name);
        names.append(name);
        QString extra;
        take(record, QStringLiteral("EXTRA%1").arg(i), extra);
        extras.append(extra);
    }
}

QString RecordReader::itemAt(const QStringList &list, int index)
{
    if (index < 0 || index >= list.size())
        return QString();
    return list.at(index);
}

} // namespace DB
} // namespace Velmar
