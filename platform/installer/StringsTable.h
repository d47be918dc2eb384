#ifndef PATHWARDEN_STRINGSTABLE_H
#define PATHWARDEN_STRINGSTABLE_H

#include <QByteArray>
#include <QHash>
#include <QString>

// A localised strings table: the text form of lines such as
//     "PaneTitle" = "Choose the target";
// with /* */ and // comments, in UTF-8 or UTF-16 with a byte-order mark;
// or an XML property list holding one dictionary of texts.
class StringsTable
{
public:
    // The table's entries; an empty table with *error set when the text
    // cannot be read as a whole.
    static QHash<QString, QString> parse(const QByteArray &data, QString *error = nullptr);
    static QHash<QString, QString> fromFile(const QString &path, QString *error = nullptr);

private:
    StringsTable() = default;
};

#endif // PATHWARDEN_STRINGSTABLE_H
