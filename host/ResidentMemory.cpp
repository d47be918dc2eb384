#include "ResidentMemory.h"

#include <cstdio>
#include <unistd.h>

qint64 ResidentMemory::kibibytes()
{
    // The second field of statm: resident pages.
    std::FILE *file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return -1;
    long long size = 0;
    long long resident = 0;
    const int fields = std::fscanf(file, "%lld %lld", &size, &resident);
    std::fclose(file);
    if (fields != 2)
        return -1;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}
