#ifndef VELMAR_COLORMATCHENTRY_H
#define VELMAR_COLORMATCHENTRY_H

#include <QtGlobal>

namespace Velmar {

// One candidate of nearest-colour matching: the Lab of a chip and its row id.
struct ColorMatchEntry {
    double L;
    double a;
    double b;
    qint64 rowId;
};

} // namespace Velmar

#endif // VELMAR_COLORMATCHENTRY_H
