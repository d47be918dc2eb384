#ifndef VELMAR_CXFREADER_H
#define VELMAR_CXFREADER_H

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Velmar {

// Reads the measured objects' names from a CxF3 file that a colour-measuring
// device left behind. Bytes in, names out: no file, view or database.
class CxfReader
{
public:
    // The CxF3 core namespace; objects are found by it, whatever prefix the
    // file binds it to.
    static const QString CoreNamespaceUri;
    // No blanks, no network, compact nodes. Entities stay unsubstituted, so a
    // reference to an external entity in a name fails the whole parse.
    static const int ParseOptions;

    // The non-empty Name of every Object of the core namespace, in document
    // order. 0 when the file was read (names may then be empty), -1 when it
    // is not well-formed XML, -2 when the objects could not be searched.
    static int objectNames(const QByteArray &cxf, QStringList &names);

private:
    CxfReader() = default;
};

} // namespace Velmar

#endif // VELMAR_CXFREADER_H
