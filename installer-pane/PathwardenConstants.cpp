#include "PathwardenConstants.h"

const QString PWTLocalizedStringsTableName = QStringLiteral("InstallerStrings");
const QString PWTMsgKeyPanelTitle = QStringLiteral("PaneTitle");
const QString PWTMsgKeyLookingForApp = QStringLiteral("CheckingForApp");
const QString PWTMsgKeySuccess = QStringLiteral("CheckingForAppSuccess");
const QString PWTMsgKeyFoundAppPath = QStringLiteral("TargetAppPath");
const QString PWTMsgKeyFailure = QStringLiteral("CheckingForAppFail");
const QString PWTMsgMoreThanOneAppFound = QStringLiteral("MoreThanOneApp");
const QString PWTMsgKeyTargetNotRecorded = QStringLiteral("TargetNotRecorded");
const QString PWTInstallScriptResourceName = QStringLiteral("InstallScript");
const QString PWTInstallScriptResourceType = QStringLiteral("plist");
const QString PWT_IS_ApplicationRule = QStringLiteral("Application Rule");
const QString PWT_IS_AppBundleNameRegex = QStringLiteral("Application Bundle Name Regex");
const QString PWT_IS_AppBundleInfoPlistPredicate = QStringLiteral("Info.plist Predicate");
const QString PWT_IS_TargetAppPathEchoShellScriptName = QStringLiteral("Target Path Shell Script Name");
const QString PWT_IS_VPDEntryRegex = QStringLiteral("VPD Entry Regex");
const QString PWT_IS_VPDEntryAppBundleNameRegex = QStringLiteral("VPD Entry Application Bundle Regex");
const QString PWT_SystemProfilerApplicationsDataType = QStringLiteral("SPApplicationsDataType");
const QString PWTInfoPlist_CFBundleShortVersionString = QStringLiteral("CFBundleShortVersionString");
const QString PWTInfoPlist_CFBundleVersion = QStringLiteral("CFBundleVersion");
