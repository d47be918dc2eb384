#ifndef HUEFORM_WITHOUTPERMISSIONOVERRIDE_H
#define HUEFORM_WITHOUTPERMISSIONOVERRIDE_H

#include <linux/capability.h>

// Takes from a test run as root the power to override file permissions
// while it lives, so that a file of mode 0444 or a folder of mode 0555
// really cannot be written. Without that power from the start it changes
// nothing.
class WithoutPermissionOverride
{
public:
    WithoutPermissionOverride();
    ~WithoutPermissionOverride();

    WithoutPermissionOverride(const WithoutPermissionOverride &) = delete;
    WithoutPermissionOverride &operator=(const WithoutPermissionOverride &) = delete;

    // For a child process between fork and exec: the power is gone for the
    // program it runs too, root or not, and cannot come back.
    static void dropForGood();

private:
    __user_cap_header_struct m_header {};
    __user_cap_data_struct m_saved[2] {};
    bool m_changed = false;
};

#endif // HUEFORM_WITHOUTPERMISSIONOVERRIDE_H
