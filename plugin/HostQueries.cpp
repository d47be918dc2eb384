#include "plugin/HostQueries.h"

#include "platform/picker/FileReferencePath.h"

#include <QFileInfo>

#include <cstring>

namespace Velmar {

QString HostQueries::pluginFilePath(const PickerHost::BasicSuite *basicSuite, PickerHost::PluginRef plugin)
{
    using namespace PickerHost;
    if (!basicSuite || !basicSuite->acquireSuite)
        return QString();
    const void *acquired = nullptr;
    if (basicSuite->acquireSuite(PluginsSuiteName, PluginsSuiteVersion, &acquired) != NoError)
        return QString();

    FileReference reference;
    std::memset(&reference, 0, sizeof reference);
    const auto *suite = static_cast<const PluginsSuite *>(acquired);
    const Status referenceStatus = suite && suite->getPluginFileReference
        ? suite->getPluginFileReference(plugin, &reference)
        : FileReferenceInvalid;
    // Released as acquired, whatever the routine answered.
    if (basicSuite->releaseSuite)
        basicSuite->releaseSuite(PluginsSuiteName, PluginsSuiteVersion);
    if (referenceStatus != NoError)
        return QString();

    uint8_t path[1024];
    if (fileReferencePath(reference, path, sizeof path) != NoError)
        return QString();
    return QFileInfo(QString::fromUtf8(reinterpret_cast<const char *>(path))).canonicalFilePath();
}

QString HostQueries::pluginFilePath(int16_t selector, const void *parameterBlock)
{
    using namespace PickerHost;
    if (!parameterBlock)
        return QString();
    if (selector == SelectorAbout) {
        const auto *record = static_cast<const AboutRecord *>(parameterBlock);
        return pluginFilePath(record->basicSuite, record->plugin);
    }
    if (selector == SelectorPick) {
        const auto *block = static_cast<const PickerParameters *>(parameterBlock);
        return pluginFilePath(block->basicSuite, block->plugin);
    }
    return QString();
}

intptr_t HostQueries::hostVersion(const PickerHost::PropertySuite *propertySuite)
{
    using namespace PickerHost;
    if (!propertySuite || !propertySuite->getProperty)
        return 0;
    // The routine writes a pointer-sized word.
    intptr_t version = 0;
    if (propertySuite->getProperty(HostSignature, HostVersionKey, 0, &version, nullptr) != NoError)
        return 0;
    return version;
}

QString HostQueries::promptTitle(const char *prompt)
{
    return prompt ? QString::fromLocal8Bit(prompt) : QString();
}

} // namespace Velmar
