#include "FileSizeLimit.h"

#include <csignal>

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_saved);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_handler);
}

void FileSizeLimit::applyForGood(rlim_t bytes)
{
    // An ignored signal stays ignored across exec.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}
