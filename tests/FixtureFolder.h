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

    bool isValid() const;
    QString lookupFolder() const;
    QString collectionFolder() const;
    QString filePath(const QString &fileName) const;

    // A new collection file of that name, with the full structure.
    std::unique_ptr<CollectionWriter> createFile(const QString &fileName, bool withSystemData = true) const;

    // Makes this the folder the database layer scans.
    void activate() const;

private:
    QTemporaryDir m_dir;
};

#endif // HUEFORM_FIXTUREFOLDER_H
