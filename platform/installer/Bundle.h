#ifndef PATHWARDEN_BUNDLE_H
#define PATHWARDEN_BUNDLE_H

#include <QString>
#include <QStringList>
#include <QVariantMap>

// A bundle folder: "Contents/Info.plist", resources in "Contents/Resources"
// and localised resources in its "<language>.lproj" folders.
class Bundle
{
public:
    Bundle() = default;
    // The bundle at path; invalid when path is not a folder.
    static Bundle bundleWithPath(const QString &path);

    bool isValid() const;
    QString bundlePath() const;
    QString resourcePath() const;

    // The file of resource name.type, first among the resources that are
    // not localised, then in the preferred language folders; empty when none.
    QString pathForResource(const QString &name, const QString &type) const;
    // The language folders present, as names without ".lproj", sorted.
    QStringList localizations() const;
    // The present localisations in the order they are used: the user's
    // languages, then the bundle's development region, then English.
    QStringList preferredLocalizations() const;
    // The text for key from the strings table `table`; value when the key is
    // missing, or the key itself when value is empty too.
    QString localizedString(const QString &key, const QString &value, const QString &table) const;
    // The Info.plist dictionary; empty when it is missing or unreadable, and
    // then *error says why.
    QVariantMap infoDictionary(QString *error = nullptr) const;

private:
    explicit Bundle(const QString &path);

    QString m_path;
};

#endif // PATHWARDEN_BUNDLE_H
