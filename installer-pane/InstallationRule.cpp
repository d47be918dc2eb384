#include "InstallationRule.h"

#include "Bundle.h"
#include "PathwardenConstants.h"
#include "PropertyList.h"

#include <QVariantMap>

namespace {

// A key's text; null when it is missing or holds no text.
QString textOf(const QVariantMap &rule, const QString &key)
{
    const QVariant value = rule.value(key);
    if (value.typeId() != QMetaType::QString)
        return QString();
    // A key that is present but empty is not the same as a missing one.
    const QString text = value.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

InstallationRule InstallationRule::fromPackage(const Bundle &package)
{
    InstallationRule rule;
    const QString file = package.pathForResource(PWTInstallScriptResourceName, PWTInstallScriptResourceType);
    if (file.isEmpty())
        return rule;
    const QVariant ruleValue = PropertyList::fromFile(file).toMap().value(PWT_IS_ApplicationRule);
    if (ruleValue.typeId() != QMetaType::QVariantMap)
        return rule;
    const QVariantMap map = ruleValue.toMap();
    rule.isValid = true;
    rule.bundleNameRegex = textOf(map, PWT_IS_AppBundleNameRegex);
    rule.infoPlistPredicate = textOf(map, PWT_IS_AppBundleInfoPlistPredicate);
    rule.scriptName = textOf(map, PWT_IS_TargetAppPathEchoShellScriptName);
    rule.vpdEntryRegex = textOf(map, PWT_IS_VPDEntryRegex);
    return rule;
}
