#ifndef HUEFORM_DEMODIZEVIZ_H
#define HUEFORM_DEMODIZEVIZ_H

#include <QString>

class CollectionWriter;

// The demo's link to a colour-measuring device: the interior deck takes
// part in the Dizeviz search and watches a folder into which a CxF3 file
// (tools/sample-measurement.cxf, for one) can be copied to try the link.
class DemoDizeviz
{
public:
    // The folder and file name the interior deck watches. The folder setting
    // is a plain path on Linux, taken as it stands.
    static const QString WatchFolder;
    static const QString WatchFileName;

    // Into the file the interior deck and its settings are already in; the
    // deck watches the folder given.
    static bool write(CollectionWriter &writer, const QString &folder = WatchFolder);

private:
    DemoDizeviz() = default;
};

#endif // HUEFORM_DEMODIZEVIZ_H
