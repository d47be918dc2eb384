#include "WithoutPermissionOverride.h"

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
