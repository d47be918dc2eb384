#ifndef HUEFORM_STANDINSUITES_H
#define HUEFORM_STANDINSUITES_H

#include "platform/picker/PickerHostInterface.h"

#include <QByteArray>

// The host's side of the plug-in interface: the suite broker, the plug-ins
// suite and the property suite, with switches that make each of them fail
// and counters of what the plug-in acquired and released.
class StandInSuites
{
public:
    struct Switches {
        bool noBasicSuite = false;
        bool acquireFails = false;
        bool fileReferenceFails = false;
        bool noPropertySuite = false;
    };

    // The plug-in file reported by the plug-ins suite, and the version word
    // answered for the host's version property.
    static void setUp(const QByteArray &pluginFile, intptr_t hostVersion, const Switches &switches);

    // The records of one call, pointing at the suites (or not, by switch).
    static PickerHost::AboutRecord aboutRecord();
    static PickerHost::PickerParameters pickerParameters();

    static int acquired() { return s_acquired; }
    static int released() { return s_released; }

private:
    StandInSuites() = default;

    static PickerHost::Status acquireSuite(const char *name, int32_t version, const void **suite);
    static PickerHost::Status releaseSuite(const char *name, int32_t version);
    static PickerHost::Status getPluginFileReference(PickerHost::PluginRef plugin, PickerHost::FileReference *reference);
    static PickerHost::Status getProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t *simpleValue,
                                          PickerHost::ComplexProperty *complexValue);
    static PickerHost::Status setProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t simpleValue,
                                          PickerHost::ComplexProperty complexValue);

    static QByteArray s_pluginFile;
    static intptr_t s_hostVersion;
    static Switches s_switches;
    static int s_acquired;
    static int s_released;
    static PickerHost::BasicSuite s_basicSuite;
    static PickerHost::PluginsSuite s_pluginsSuite;
    static PickerHost::PropertySuite s_propertySuite;
};

#endif // HUEFORM_STANDINSUITES_H
