#ifndef PATHWARDEN_TASKSTOPPER_H
#define PATHWARDEN_TASKSTOPPER_H

#include <atomic>

// Lets one thread stop the work another thread does: once stopped, a
// program that NTSynchronousTask runs under it is ended, no further one is
// started, and the search gives up. Stopping cannot be undone.
class TaskStopper
{
public:
    TaskStopper();
    ~TaskStopper();
    TaskStopper(const TaskStopper &) = delete;
    TaskStopper &operator=(const TaskStopper &) = delete;

    // Safe from any thread, and more than once.
    void stop();
    bool isStopped() const;
    // Becomes readable once stopped, so that a thread waiting in poll()
    // wakes at once; -1 when it could not be made, and then waiting threads
    // must look at isStopped() now and then.
    int descriptor() const;

private:
    std::atomic<bool> m_stopped{false};
    int m_readEnd = -1;
    int m_writeEnd = -1;
};

#endif // PATHWARDEN_TASKSTOPPER_H
