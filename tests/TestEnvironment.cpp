#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QTemporaryDir &temporaryRoot()
{
    static QTemporaryDir dir;
    return dir;
}

} // namespace

void TestEnvironment::isolate()
{
    const QString base = root();
    const QStringList folders{QStringLiteral("config"), QStringLiteral("data"), QStringLiteral("cache"),
                              QStringLiteral("system-data"), QStringLiteral("system-config")};
    for (const QString &folder : folders)
        QDir(base).mkpath(folder);
    qputenv("HOME", base.toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (base + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (base + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_DATA_DIRS", (base + QStringLiteral("/system-data")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", (base + QStringLiteral("/system-config")).toUtf8());
    // The platform plug-in wants a private runtime folder of its own.
    const QString runtime = base + QStringLiteral("/runtime");
    QDir(base).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, base + QStringLiteral("/config"));
        QSettings::setPath(format, QSettings::SystemScope, base + QStringLiteral("/system-config"));
    }
}

QString TestEnvironment::root()
{
    return temporaryRoot().path();
}
