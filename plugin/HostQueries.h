#ifndef VELMAR_HOSTQUERIES_H
#define VELMAR_HOSTQUERIES_H

#include "platform/picker/PickerHostInterface.h"

#include <QString>

namespace Velmar {

// What the plug-in asks of the host during one call: the path of its own
// file, the host's version and the prompt text. Every missing record or
// routine, and every failed status, counts as "not known".
class HostQueries
{
public:
    // The plug-in's file through the plug-ins suite, canonical; empty when
    // the host cannot tell.
    static QString pluginFilePath(const PickerHost::BasicSuite *basicSuite, PickerHost::PluginRef plugin);
    // The same from the parameter block of the about or pick selector; empty
    // for every other selector and for a null block.
    static QString pluginFilePath(int16_t selector, const void *parameterBlock);
    // The host's version property; 0 when it cannot be had.
    static intptr_t hostVersion(const PickerHost::PropertySuite *propertySuite);
    // The prompt as the dialog's title; empty when there is none.
    static QString promptTitle(const char *prompt);

private:
    HostQueries() = default;
};

} // namespace Velmar

#endif // VELMAR_HOSTQUERIES_H
