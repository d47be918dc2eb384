#ifndef HUEFORM_RESIDENTMEMORY_H
#define HUEFORM_RESIDENTMEMORY_H

#include <QtGlobal>

// The resident memory of this process, as the kernel counts it.
class ResidentMemory
{
public:
    // In KiB; -1 when it cannot be read.
    static qint64 kibibytes();

private:
    ResidentMemory() = default;
};

#endif // HUEFORM_RESIDENTMEMORY_H
