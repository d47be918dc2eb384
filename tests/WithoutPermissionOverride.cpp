#include "WithoutPermissionOverride.h"

#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

WithoutPermissionOverride::WithoutPermissionOverride()
{
    m_header.version = _LINUX_CAPABILITY_VERSION_3;
    m_header.pid = 0;
    if (syscall(SYS_capget, &m_header, m_saved) != 0)
        return;
    __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    m_changed = syscall(SYS_capset, &m_header, reduced) == 0;
}

WithoutPermissionOverride::~WithoutPermissionOverride()
{
    if (m_changed)
        syscall(SYS_capset, &m_header, m_saved);
}

void WithoutPermissionOverride::dropForGood()
{
    // A program started by root gets every power of the bounding set again;
    // only what is dropped from that set stays gone. Async-signal-safe calls
    // only: this runs in a forked child.
    prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
    __user_cap_header_struct header {};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    __user_cap_data_struct data[2] {};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    data[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    data[0].permitted &= ~(1u << CAP_DAC_OVERRIDE);
    data[0].inheritable &= ~(1u << CAP_DAC_OVERRIDE);
    syscall(SYS_capset, &header, data);
}
