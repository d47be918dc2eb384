#include "FixtureFolder.h"

#include "database/DBManager.h"

#include <QDir>

FixtureFolder::FixtureFolder()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("Contents/Resources"));
}

bool FixtureFolder::isValid() const
{
    return m_dir.isValid();
}

QString FixtureFolder::lookupFolder() const
{
    return m_dir.path();
}

QString FixtureFolder::collectionFolder() const
{
    return m_dir.filePath(QStringLiteral("Contents/Resources"));
}

QString FixtureFolder::filePath(const QString &fileName) const
{
    return QDir(collectionFolder()).filePath(fileName);
}

std::unique_ptr<CollectionWriter> FixtureFolder::createFile(const QString &fileName, bool withSystemData) const
{
    return std::make_unique<CollectionWriter>(filePath(fileName), withSystemData);
}

void FixtureFolder::activate() const
{
    Velmar::DBManager::s_preferredLookupFolder = lookupFolder();
}
