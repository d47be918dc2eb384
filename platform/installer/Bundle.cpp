#include "Bundle.h"

#include "PropertyList.h"
#include "StringsTable.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

const QString LanguageFolderSuffix = QStringLiteral(".lproj");

} // namespace

Bundle::Bundle(const QString &path)
    : m_path(path)
{
}

Bundle Bundle::bundleWithPath(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return Bundle();
    return Bundle(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

bool Bundle::isValid() const
{
    return !m_path.isEmpty();
}

QString Bundle::bundlePath() const
{
    return m_path;
}

QString Bundle::resourcePath() const
{
    return isValid() ? m_path + QStringLiteral("/Contents/Resources") : QString();
}

QString Bundle::pathForResource(const QString &name, const QString &type) const
{
    if (!isValid() || name.isEmpty())
        return QString();
    const QString fileName = type.isEmpty() ? name : name + QLatin1Char('.') + type;
    const QString plain = resourcePath() + QLatin1Char('/') + fileName;
    if (QFileInfo(plain).isFile())
        return plain;
    for (const QString &language : preferredLocalizations()) {
        const QString localised = resourcePath() + QLatin1Char('/') + language + LanguageFolderSuffix
                                  + QLatin1Char('/') + fileName;
        if (QFileInfo(localised).isFile())
            return localised;
    }
    return QString();
}

QStringList Bundle::localizations() const
{
    if (!isValid())
        return {};
    QStringList names;
    const QStringList folders = QDir(resourcePath()).entryList({QStringLiteral("*.lproj")}, QDir::Dirs, QDir::Name);
    for (const QString &folder : folders)
        names.append(folder.left(folder.size() - LanguageFolderSuffix.size()));
    return names;
}

QStringList Bundle::preferredLocalizations() const
{
    const QStringList present = localizations();
    QStringList wanted;
    for (const QString &language : QLocale::system().uiLanguages()) {
        QString name = language;
        name.replace(QLatin1Char('-'), QLatin1Char('_'));
        wanted << name << name.section(QLatin1Char('_'), 0, 0);
    }
    wanted << infoDictionary().value(QStringLiteral("CFBundleDevelopmentRegion")).toString()
           << QStringLiteral("en") << QStringLiteral("English") << QStringLiteral("Base");
    QStringList ordered;
    for (const QString &name : std::as_const(wanted)) {
        for (const QString &folder : present) {
            if (!name.isEmpty() && folder.compare(name, Qt::CaseInsensitive) == 0 && !ordered.contains(folder))
                ordered.append(folder);
        }
    }
    return ordered;
}

QString Bundle::localizedString(const QString &key, const QString &value, const QString &table) const
{
    const QString file = pathForResource(table, QStringLiteral("strings"));
    if (!file.isEmpty()) {
        const QHash<QString, QString> entries = StringsTable::fromFile(file);
        const auto found = entries.constFind(key);
        if (found != entries.constEnd())
            return found.value();
    }
    return value.isEmpty() ? key : value;
}

QVariantMap Bundle::infoDictionary(QString *error) const
{
    QString problem;
    QVariantMap info;
    if (!isValid()) {
        problem = QStringLiteral("No bundle");
    } else {
        const QString file = m_path + QStringLiteral("/Contents/Info.plist");
        const QVariant value = PropertyList::fromFile(file, &problem);
        if (value.typeId() == QMetaType::QVariantMap)
            info = value.toMap();
        else if (problem.isEmpty())
            problem = QStringLiteral("%1 holds no dictionary").arg(file);
    }
    if (error)
        *error = problem;
    return info;
}
