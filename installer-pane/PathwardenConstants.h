#ifndef PATHWARDEN_PATHWARDENCONSTANTS_H
#define PATHWARDEN_PATHWARDENCONSTANTS_H

#include <QString>

// The pane's vocabulary: the package's strings table and its keys, the rule
// resource and its keys, and the system names the search uses.
extern const QString PWTLocalizedStringsTableName;
extern const QString PWTMsgKeyPanelTitle;
extern const QString PWTMsgKeyLookingForApp;
extern const QString PWTMsgKeySuccess;
extern const QString PWTMsgKeyFoundAppPath;
extern const QString PWTMsgKeyFailure;
extern const QString PWTMsgMoreThanOneAppFound;
extern const QString PWTMsgKeyTargetNotRecorded;
extern const QString PWTInstallScriptResourceName;
extern const QString PWTInstallScriptResourceType;
extern const QString PWT_IS_ApplicationRule;
extern const QString PWT_IS_AppBundleNameRegex;
extern const QString PWT_IS_AppBundleInfoPlistPredicate;
extern const QString PWT_IS_TargetAppPathEchoShellScriptName;
extern const QString PWT_IS_VPDEntryRegex;
extern const QString PWT_IS_VPDEntryAppBundleNameRegex;
extern const QString PWT_SystemProfilerApplicationsDataType;
extern const QString PWTInfoPlist_CFBundleShortVersionString;
extern const QString PWTInfoPlist_CFBundleVersion;

#endif // PATHWARDEN_PATHWARDENCONSTANTS_H
