#include "PaneFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

void appendValue(QByteArray &xml, const QVariant &value, int depth)
{
    const QByteArray indent(depth * 2, ' ');
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        xml += indent + "<dict>\n";
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            xml += indent + "  <key>" + escaped(it.key()) + "</key>\n";
            appendValue(xml, it.value(), depth + 1);
        }
        xml += indent + "</dict>\n";
        break;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        xml += indent + "<array>\n";
        for (const QVariant &item : value.toList())
            appendValue(xml, item, depth + 1);
        xml += indent + "</array>\n";
        break;
    case QMetaType::Bool:
        xml += indent + (value.toBool() ? "<true/>\n" : "<false/>\n");
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        xml += indent + "<integer>" + value.toString().toUtf8() + "</integer>\n";
        break;
    case QMetaType::Double:
        xml += indent + "<real>" + QByteArray::number(value.toDouble()) + "</real>\n";
        break;
    default:
        xml += indent + "<string>" + escaped(value.toString()) + "</string>\n";
        break;
    }
}

} // namespace

PaneFixture::PaneFixture()
{
    QDir(root()).mkpath(QStringLiteral("bin"));
    QDir(root()).mkpath(QStringLiteral("scripts"));
    m_paths.scriptFolder = path(QStringLiteral("scripts"));
    m_paths.vpdFile = path(QStringLiteral("vpd.properties"));
    m_paths.systemVersionFile = path(QStringLiteral("SystemVersion.plist"));
    m_paths.systemProfiler = path(QStringLiteral("bin/system_profiler"));
    m_paths.lsregister = path(QStringLiteral("bin/lsregister"));
}

bool PaneFixture::isValid() const
{
    return m_dir.isValid();
}

QString PaneFixture::root() const
{
    return m_dir.path();
}

QString PaneFixture::path(const QString &relative) const
{
    return m_dir.filePath(relative);
}

QString PaneFixture::makePackage(const QVariant &rule, const QByteArray &strings)
{
    QDir(root()).mkpath(QStringLiteral("Test.pkg/Contents/Plugins/Pathwarden.bundle/Contents"));
    QDir(root()).mkpath(QStringLiteral("Test.pkg/Contents/Resources/en.lproj"));
    if (rule.isValid())
        writeFile(QStringLiteral("Test.pkg/Contents/Resources/InstallScript.plist"),
                  plistXml(QVariantMap{{QStringLiteral("Application Rule"), rule}}));
    writeFile(QStringLiteral("Test.pkg/Contents/Resources/en.lproj/InstallerStrings.strings"), strings);
    return packagePath();
}

QString PaneFixture::packagePath() const
{
    return path(QStringLiteral("Test.pkg"));
}

QString PaneFixture::pluginBundlePath() const
{
    return path(QStringLiteral("Test.pkg/Contents/Plugins/Pathwarden.bundle"));
}

void PaneFixture::makeApp(const QString &folder, const QString &bundleName, const QVariantMap &info)
{
    const QString contents = folder + QLatin1Char('/') + bundleName + QStringLiteral("/Contents");
    QDir().mkpath(contents);
    QFile file(contents + QStringLiteral("/Info.plist"));
    if (file.open(QIODevice::WriteOnly))
        file.write(plistXml(info));
}

QString PaneFixture::makeProgram(const QString &name, const QByteArray &output, int status, const QString &extra)
{
    const QString outputFile = path(QStringLiteral("bin/") + name + QStringLiteral(".out"));
    writeFile(QStringLiteral("bin/") + name + QStringLiteral(".out"), output);
    const QString program = path(QStringLiteral("bin/") + name);
    QFile script(program);
    if (script.open(QIODevice::WriteOnly)) {
        script.write("#!/bin/sh\n");
        script.write("echo \"" + name.toUtf8() + " $*\" >> '" + path(QStringLiteral("ran.log")).toUtf8() + "'\n");
        script.write(extra.toUtf8() + "\n");
        script.write("cat '" + outputFile.toUtf8() + "'\n");
        script.write("exit " + QByteArray::number(status) + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return program;
}

QStringList PaneFixture::ranLog() const
{
    QFile file(path(QStringLiteral("ran.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void PaneFixture::writeFile(const QString &relative, const QByteArray &bytes)
{
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

bool PaneFixture::plant(const QString &relative, const QString &kind, const QByteArray &bytes)
{
    const QString file = path(relative);
    if (!QDir().mkpath(QFileInfo(file).path()))
        return false;
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0;
    if (kind == QLatin1String("link to /dev/zero"))
        return QFile::link(QStringLiteral("/dev/zero"), file);
    if (kind == QLatin1String("link to a fifo"))
        return ::mkfifo(QFile::encodeName(file + QStringLiteral(".fifo")).constData(), 0600) == 0
               && QFile::link(file + QStringLiteral(".fifo"), file);
    if (kind == QLatin1String("folder"))
        return QDir().mkpath(file);
    if (kind == QLatin1String("too large")) {
        // Short comments, not one run of blanks: XML readers refuse a text
        // run of that size on their own.
        const qsizetype size = 16 * 1024 * 1024 + 1;
        QByteArray padded = bytes;
        padded.reserve(size);
        while (padded.size() + 17 <= size)
            padded += "<!-- padding -->\n";
        padded += QByteArray(size - padded.size(), ' ');
        writeFile(relative, padded);
        return QFileInfo(file).size() == size;
    }
    if (kind == QLatin1String("regular file")) {
        writeFile(relative, bytes);
        return QFileInfo(file).isFile();
    }
    if (kind == QLatin1String("link to a regular file")) {
        writeFile(relative + QStringLiteral(".target"), bytes);
        return QFile::link(file + QStringLiteral(".target"), file);
    }
    return false;
}

SystemPaths &PaneFixture::paths()
{
    return m_paths;
}

QString PaneFixture::scriptPath(const QString &name) const
{
    return m_paths.scriptFolder + QLatin1Char('/') + name;
}

int PaneFixture::livingProcessesInGroup(qint64 group)
{
    int living = 0;
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &process : processes) {
        QFile stat(QStringLiteral("/proc/") + process + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid pgrp ...": the name may hold blanks.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLongLong() == group && fields.at(0) != "Z")
            ++living;
    }
    return living;
}

QVariantMap PaneFixture::rule(const QString &bundleRegex, const QString &predicate, const QString &scriptName,
                              const QString &vpdRegex)
{
    QVariantMap map{{QStringLiteral("Application Bundle Name Regex"), bundleRegex},
                    {QStringLiteral("Info.plist Predicate"), predicate}};
    if (!scriptName.isNull())
        map.insert(QStringLiteral("Target Path Shell Script Name"), scriptName);
    if (!vpdRegex.isNull())
        map.insert(QStringLiteral("VPD Entry Regex"), vpdRegex);
    return map;
}

QVariantMap PaneFixture::appInfo(const QString &identifier, const QString &version)
{
    return {{QStringLiteral("CFBundleIdentifier"), identifier},
            {QStringLiteral("CFBundleShortVersionString"), version}};
}

QByteArray PaneFixture::plistXml(const QVariant &value)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";
    appendValue(xml, value, 0);
    xml += "</plist>\n";
    return xml;
}

QByteArray PaneFixture::englishStrings()
{
    return "\"PaneTitle\" = \"PaneTitle text\";\n"
           "\"CheckingForApp\" = \"CheckingForApp text\";\n"
           "\"CheckingForAppSuccess\" = \"CheckingForAppSuccess text\";\n"
           "\"TargetAppPath\" = \"TargetAppPath text\";\n"
           "\"CheckingForAppFail\" = \"CheckingForAppFail text\";\n"
           "\"MoreThanOneApp\" = \"MoreThanOneApp text\";\n"
           "\"TargetNotRecorded\" = \"TargetNotRecorded text\";\n";
}
