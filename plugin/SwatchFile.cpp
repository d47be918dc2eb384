#include "plugin/SwatchFile.h"

#include "plugin/FileReplacer.h"

#include <QDataStream>
#include <QIODevice>

#include <limits>

namespace Velmar {

bool SwatchFile::add(const QColor &colour, const QString &name)
{
    if (!colour.isValid() || colour == QColor(Qt::transparent))
        return false;
    // The count of the file is a 16-bit word.
    if (m_colours.size() >= std::numeric_limits<quint16>::max())
        return false;
    const QRgb key = colour.rgb();
    if (m_colours.contains(key))
        return false;
    m_colours.insert(key, name);
    return true;
}

QString SwatchFile::recordName(const QColor &colour, const QString &name)
{
    if (!name.isEmpty())
        return name;
    return QStringLiteral("RGB(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

QByteArray SwatchFile::encode() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    out << quint16(2) << quint16(m_colours.size());
    for (auto it = m_colours.cbegin(); it != m_colours.cend(); ++it) {
        const QColor colour = QColor::fromRgb(it.key());
        out << quint16(0) << quint16(colour.red() * 257) << quint16(colour.green() * 257)
            << quint16(colour.blue() * 257) << quint16(0);
        const QString name = recordName(colour, it.value());
        // The length counts the closing zero.
        out << quint32(name.size() + 1);
        for (const QChar unit : name)
            out << quint16(unit.unicode());
        out << quint16(0);
    }
    return bytes;
}

bool SwatchFile::write(const QString &fileName) const
{
    return FileReplacer::replace(fileName, encode());
}

} // namespace Velmar
