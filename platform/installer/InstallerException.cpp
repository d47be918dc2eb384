#include "InstallerException.h"

InstallerException::InstallerException(const QString &name, const QString &reason)
    : m_name(name)
    , m_reason(reason)
    , m_what(description().toUtf8())
{
}

QString InstallerException::name() const
{
    return m_name;
}

QString InstallerException::reason() const
{
    return m_reason;
}

QString InstallerException::description() const
{
    return m_name + QStringLiteral(": ") + m_reason;
}

const char *InstallerException::what() const noexcept
{
    return m_what.constData();
}
