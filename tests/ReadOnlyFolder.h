#ifndef HUEFORM_READONLYFOLDER_H
#define HUEFORM_READONLYFOLDER_H

#include <QString>
#include <QTemporaryDir>

// A temporary folder that is filled first and then made read-only (mode
// 0555), as a shared folder the user cannot write. It is made writable
// again before it is removed.
class ReadOnlyFolder
{
public:
    ReadOnlyFolder() = default;
    ~ReadOnlyFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &fileName) const { return m_dir.filePath(fileName); }

    // Mode 0555 from now on. False when this process can still make a file
    // in it (root with the power to override permissions): a test of the
    // folder then proves nothing.
    bool makeReadOnly();

private:
    QTemporaryDir m_dir;
};

#endif // HUEFORM_READONLYFOLDER_H
