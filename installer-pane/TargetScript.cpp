#include "TargetScript.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isPlainForEcho(const QString &folder)
{
    if (!folder.startsWith(QLatin1Char('/')))
        return false;
    for (const QChar c : folder) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == u'"' || u == u'\\' || u == u'$' || u == u'`')
            return false;
    }
    return true;
}

QString systemError(const QString &what, int error)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

} // namespace

QByteArray TargetScript::scriptText(const QString &folder)
{
    if (folder.contains(QLatin1Char('\n')) || folder.contains(QLatin1Char('\r')) || folder.contains(QChar(0)))
        return QByteArray();
    if (isPlainForEcho(folder))
        return "#!/bin/sh\necho \"" + folder.toUtf8() + "\"\n";
    QByteArray quoted = folder.toUtf8();
    quoted.replace('\'', "'\\''");
    return "#!/bin/sh\nprintf '%s\\n' '" + quoted + "'\n";
}

bool TargetScript::isValidScriptName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

bool TargetScript::write(const QString &scriptFolder, const QString &scriptName, const QString &targetFolder,
                         QString *error)
{
    auto failed = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (!isValidScriptName(scriptName))
        return failed(QStringLiteral("Refused the script name \"%1\"").arg(scriptName));
    const QByteArray text = scriptText(targetFolder);
    if (text.isEmpty())
        return failed(QStringLiteral("Refused to write a script for a folder name holding a line break or NUL"));

    const QString target = scriptFolder + QLatin1Char('/') + scriptName;
    QByteArray temporary = QFile::encodeName(scriptFolder + QStringLiteral("/.") + scriptName + QStringLiteral(".XXXXXX"));
    // The temporary file sits beside the target, so the rename is atomic and
    // the package never sees half a script.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return failed(systemError(QStringLiteral("Cannot create a script in %1").arg(scriptFolder), errno));
    int problem = 0;
    QString step;
    if (!writeAll(fd, text)) {
        problem = errno ? errno : EIO;
        step = QStringLiteral("Cannot write %1").arg(target);
    } else if (::fchmod(fd, 0755) != 0) {
        problem = errno;
        step = QStringLiteral("Cannot make %1 executable").arg(target);
    } else if (::fsync(fd) != 0) {
        problem = errno;
        step = QStringLiteral("Cannot write %1").arg(target);
    }
    if (::close(fd) != 0 && !problem) {
        problem = errno;
        step = QStringLiteral("Cannot write %1").arg(target);
    }
    if (!problem && ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        problem = errno;
        step = QStringLiteral("Cannot replace %1").arg(target);
    }
    if (problem) {
        ::unlink(temporary.constData());
        return failed(systemError(step, problem));
    }
    if (error)
        error->clear();
    return true;
}
