#include "ReadOnlyFolder.h"

#include <QFile>

namespace {

const QFileDevice::Permissions s_readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

} // namespace

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_dir.isValid())
        QFile::setPermissions(m_dir.path(), s_readOnly | QFileDevice::WriteOwner);
}

bool ReadOnlyFolder::makeReadOnly()
{
    if (!m_dir.isValid() || !QFile::setPermissions(m_dir.path(), s_readOnly))
        return false;
    QFile probe(m_dir.filePath(QStringLiteral("probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.close();
    probe.remove();
    return false;
}
