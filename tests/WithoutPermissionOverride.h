#ifndef HUEFORM_WITHOUTPERMISSIONOVERRIDE_H
#define HUEFORM_WITHOUTPERMISSIONOVERRIDE_H

#include <linux/capability.h>

// Takes from a test run as root the power to override file permissions, so
// that a file of mode 0444 really cannot be opened for writing, nor a file
// be made in a folder of mode 0555, while this lives.
class WithoutPermissionOverride
{
public:
    WithoutPermissionOverride();
    ~WithoutPermissionOverride();
    WithoutPermissionOverride(const WithoutPermissionOverride &) = delete;
    WithoutPermissionOverride &operator=(const WithoutPermissionOverride &) = delete;

private:
    __user_cap_header_struct m_header {};
    __user_cap_data_struct m_saved[2] {};
    bool m_changed = false;
};

#endif // HUEFORM_WITHOUTPERMISSIONOVERRIDE_H
