#include "TaskStopper.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

TaskStopper::TaskStopper()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_readEnd = ends[0];
        m_writeEnd = ends[1];
    }
}

TaskStopper::~TaskStopper()
{
    if (m_readEnd >= 0)
        ::close(m_readEnd);
    if (m_writeEnd >= 0)
        ::close(m_writeEnd);
}

void TaskStopper::stop()
{
    if (m_stopped.exchange(true) || m_writeEnd < 0)
        return;
    // One byte, never read: the read end stays readable from now on.
    while (::write(m_writeEnd, "x", 1) < 0 && errno == EINTR) {
    }
}

bool TaskStopper::isStopped() const
{
    return m_stopped.load();
}

int TaskStopper::descriptor() const
{
    return m_readEnd;
}
