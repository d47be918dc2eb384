#ifndef HUEFORM_FILESIZELIMIT_H
#define HUEFORM_FILESIZELIMIT_H

#include <sys/resource.h>

// Files may not grow beyond a few bytes while this lives: a write then
// fails as it would on a full disk, also for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // For a child process between fork and exec: the program it runs may
    // write no file beyond that many bytes, and is told so by the write
    // failing, not by a signal.
    static void applyForGood(rlim_t bytes);

private:
    rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
};

#endif // HUEFORM_FILESIZELIMIT_H
