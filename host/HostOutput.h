#ifndef HUEFORM_HOSTOUTPUT_H
#define HUEFORM_HOSTOUTPUT_H

#include <QString>

// One line on standard output, flushed at once, so that what the host
// printed survives a watchdog exit.
class HostOutput
{
public:
    static void line(const QString &text);

private:
    HostOutput() = default;
};

#endif // HUEFORM_HOSTOUTPUT_H
