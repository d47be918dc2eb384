#include "StandInSuites.h"

#include <algorithm>
#include <cstring>

using namespace PickerHost;

namespace {

// What the host calls this plug-in; the plug-in only hands it back.
PluginHandle *const ThisPlugin = reinterpret_cast<PluginHandle *>(0x5053);

} // namespace

QByteArray StandInSuites::s_pluginFile;
intptr_t StandInSuites::s_hostVersion = 0;
StandInSuites::Switches StandInSuites::s_switches;
int StandInSuites::s_acquired = 0;
int StandInSuites::s_released = 0;
BasicSuite StandInSuites::s_basicSuite{&StandInSuites::acquireSuite, &StandInSuites::releaseSuite};
PluginsSuite StandInSuites::s_pluginsSuite{{}, &StandInSuites::getPluginFileReference};
PropertySuite StandInSuites::s_propertySuite{2, &StandInSuites::getProperty, &StandInSuites::setProperty};

void StandInSuites::setUp(const QByteArray &pluginFile, intptr_t hostVersion, const Switches &switches)
{
    s_pluginFile = pluginFile;
    s_hostVersion = hostVersion;
    s_switches = switches;
}

AboutRecord StandInSuites::aboutRecord()
{
    AboutRecord record;
    record.basicSuite = s_switches.noBasicSuite ? nullptr : &s_basicSuite;
    record.plugin = ThisPlugin;
    return record;
}

PickerParameters StandInSuites::pickerParameters()
{
    PickerParameters block;
    std::memset(&block, 0, sizeof block);
    block.propertySuite = s_switches.noPropertySuite ? nullptr : &s_propertySuite;
    block.basicSuite = s_switches.noBasicSuite ? nullptr : &s_basicSuite;
    block.plugin = ThisPlugin;
    return block;
}

Status StandInSuites::acquireSuite(const char *name, int32_t version, const void **suite)
{
    if (!suite)
        return -1;
    *suite = nullptr;
    if (s_switches.acquireFails || !name || std::strcmp(name, PluginsSuiteName) != 0 || version != PluginsSuiteVersion)
        return -2;
    *suite = &s_pluginsSuite;
    ++s_acquired;
    return NoError;
}

Status StandInSuites::releaseSuite(const char *name, int32_t version)
{
    if (!name || std::strcmp(name, PluginsSuiteName) != 0 || version != PluginsSuiteVersion)
        return -2;
    ++s_released;
    return NoError;
}

Status StandInSuites::getPluginFileReference(PluginRef plugin, FileReference *reference)
{
    if (plugin != ThisPlugin || !reference)
        return -3;
    // The failing routine still leaves a plausible path behind, which the
    // plug-in must not take.
    const int length = std::min<int>(s_pluginFile.size(), sizeof reference->bytes - 1);
    std::memcpy(reference->bytes, s_pluginFile.constData(), length);
    reference->bytes[length] = 0;
    return s_switches.fileReferenceFails ? -43 : NoError;
}

Status StandInSuites::getProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t *simpleValue,
                                  ComplexProperty *complexValue)
{
    if (signature != HostSignature || key != HostVersionKey || index != 0 || complexValue || !simpleValue)
        return -4;
    // The whole pointer-sized word, as the host writes it.
    *simpleValue = s_hostVersion;
    return NoError;
}

Status StandInSuites::setProperty(uint32_t, uint32_t, int32_t, intptr_t, ComplexProperty)
{
    return -4;
}
