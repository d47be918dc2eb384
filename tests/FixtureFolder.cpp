#include "FixtureFolder.h"

#include "database/DBManager.h"

#include <QDir>
#include <QFile>

FixtureFolder::FixtureFolder()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("Contents/Resources"));
}

FixtureFolder::~FixtureFolder()
{
    // A folder of mode 0555 could not be emptied by its owner.
    setWritable(true);
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

bool FixtureFolder::copyAsLeftBehind(const QString &writtenFile, const QString &fileName) const
{
    const QString target = filePath(fileName);
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-journal")}) {
        QFile::remove(target + suffix);
        if (QFile::exists(writtenFile + suffix) && !QFile::copy(writtenFile + suffix, target + suffix))
            return false;
    }
    return true;
}

bool FixtureFolder::setWritable(bool writable) const
{
    const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::ReadUser
        | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileDevice::Permissions searchable =
        QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const QFileDevice::Permissions ownerWrites = QFileDevice::WriteOwner | QFileDevice::WriteUser;
    bool done = true;
    const QDir folder(collectionFolder());
    for (const QString &file : folder.entryList(QDir::Files | QDir::Hidden))
        done &= QFile::setPermissions(folder.filePath(file), writable ? readable | ownerWrites : readable);
    done &= QFile::setPermissions(collectionFolder(),
                                  readable | searchable | (writable ? ownerWrites : QFileDevice::Permissions()));
    return done;
}

void FixtureFolder::activate() const
{
    Velmar::DBManager::s_preferredLookupFolder = lookupFolder();
}
