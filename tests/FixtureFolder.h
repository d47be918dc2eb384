#ifndef HUEFORM_FIXTUREFOLDER_H
#define HUEFORM_FIXTUREFOLDER_H

#include "CollectionWriter.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A temporary lookup folder: collection files go to
// "<folder>/Contents/Resources/<name>.db", written through the schema.
class FixtureFolder
{
public:
    FixtureFolder();
    ~FixtureFolder();
    FixtureFolder(const FixtureFolder &) = delete;
    FixtureFolder &operator=(const FixtureFolder &) = delete;

    bool isValid() const;
    QString lookupFolder() const;
    QString collectionFolder() const;
    QString filePath(const QString &fileName) const;

    // A new collection file of that name, with the full structure.
    std::unique_ptr<CollectionWriter> createFile(const QString &fileName, bool withSystemData = true) const;

    // Copies a collection file here under the name as its writer leaves it
    // at that moment: with the "-wal" and "-journal" files beside it, if
    // any, and never the "-shm" file, which a writer that stopped leaves to
    // the next one.
    bool copyAsLeftBehind(const QString &writtenFile, const QString &fileName) const;

    // Mode 0555 for the collection folder and 0444 for its files, as in an
    // install the user cannot write; or back to writable.
    bool setWritable(bool writable) const;

    // Makes this the folder the database layer scans.
    void activate() const;

private:
    QTemporaryDir m_dir;
};

#endif // HUEFORM_FIXTUREFOLDER_H
