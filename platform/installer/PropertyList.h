#ifndef PATHWARDEN_PROPERTYLIST_H
#define PATHWARDEN_PROPERTYLIST_H

#include <QByteArray>
#include <QString>
#include <QVariant>

// Reads XML property lists with libxml2: dict becomes QVariantMap, array
// QVariantList, string QString, integer qint64 (quint64 above its range),
// real double, true and false bool, data QByteArray, date QDateTime.
// A text that declares entities is refused, whether it uses them or not.
class PropertyList
{
public:
    // The top-level value, or an invalid QVariant with *error set when the
    // text is not a well-formed property list.
    static QVariant fromXml(const QByteArray &xml, QString *error = nullptr);
    static QVariant fromFile(const QString &path, QString *error = nullptr);

private:
    PropertyList() = default;
};

#endif // PATHWARDEN_PROPERTYLIST_H
