#include "StringsTable.h"

#include "PropertyList.h"
#include "RegularFile.h"

#include <QStringDecoder>

namespace {

class Scanner
{
public:
    explicit Scanner(const QString &text)
        : m_text(text)
    {
    }

    QString error;

    bool atEnd()
    {
        skipSpaceAndComments();
        return m_pos >= m_text.size();
    }

    bool expect(QChar c)
    {
        skipSpaceAndComments();
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return fail(QStringLiteral("expected '%1' at offset %2").arg(c).arg(m_pos));
    }

    bool peek(QChar c)
    {
        skipSpaceAndComments();
        return m_pos < m_text.size() && m_text.at(m_pos) == c;
    }

    // A quoted string with backslash escapes, or a bare word.
    bool token(QString *out)
    {
        skipSpaceAndComments();
        if (m_pos >= m_text.size())
            return fail(QStringLiteral("unexpected end"));
        if (m_text.at(m_pos) == QLatin1Char('"'))
            return quoted(out);
        const int start = m_pos;
        while (m_pos < m_text.size() && isBare(m_text.at(m_pos)))
            ++m_pos;
        if (m_pos == start)
            return fail(QStringLiteral("unexpected '%1' at offset %2").arg(m_text.at(m_pos)).arg(m_pos));
        *out = m_text.mid(start, m_pos - start);
        return true;
    }

private:
    const QString m_text;
    int m_pos = 0;

    bool fail(const QString &message)
    {
        if (error.isEmpty())
            error = message;
        return false;
    }

    static bool isBare(QChar c)
    {
        return c.isLetterOrNumber() || QStringLiteral("_$+/:.-").contains(c);
    }

    void skipSpaceAndComments()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos);
            if (c.isSpace()) {
                ++m_pos;
            } else if (m_text.mid(m_pos, 2) == QLatin1String("//")) {
                const int end = m_text.indexOf(QLatin1Char('\n'), m_pos);
                m_pos = end < 0 ? int(m_text.size()) : end + 1;
            } else if (m_text.mid(m_pos, 2) == QLatin1String("/*")) {
                const int end = m_text.indexOf(QLatin1String("*/"), m_pos + 2);
                m_pos = end < 0 ? int(m_text.size()) : end + 2;
            } else {
                return;
            }
        }
    }

    bool quoted(QString *out)
    {
        ++m_pos;
        QString result;
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos++);
            if (c == QLatin1Char('"')) {
                *out = result;
                return true;
            }
            if (c != QLatin1Char('\\')) {
                result.append(c);
                continue;
            }
            if (m_pos >= m_text.size())
                break;
            const QChar e = m_text.at(m_pos++);
            switch (e.unicode()) {
            case 'n': result.append(QLatin1Char('\n')); break;
            case 't': result.append(QLatin1Char('\t')); break;
            case 'r': result.append(QLatin1Char('\r')); break;
            case 'U':
            case 'u': {
                bool ok = false;
                const uint code = m_text.mid(m_pos, 4).toUInt(&ok, 16);
                if (!ok || m_pos + 4 > m_text.size())
                    return fail(QStringLiteral("bad \\u escape at offset %1").arg(m_pos));
                result.append(QChar(char16_t(code)));
                m_pos += 4;
                break;
            }
            default: result.append(e); break;
            }
        }
        return fail(QStringLiteral("unterminated string"));
    }
};

QString decode(const QByteArray &data)
{
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        const bool littleEndian = data.startsWith("\xFF\xFE");
        QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decoder(data.mid(2));
    }
    QString text = QString::fromUtf8(data);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

QHash<QString, QString> StringsTable::parse(const QByteArray &data, QString *error)
{
    QHash<QString, QString> table;
    const QString text = decode(data);
    if (text.trimmed().startsWith(QLatin1Char('<'))) {
        QString plistError;
        const QVariant root = PropertyList::fromXml(text.toUtf8(), &plistError);
        if (root.typeId() != QMetaType::QVariantMap) {
            if (error)
                *error = plistError.isEmpty() ? QStringLiteral("not a dictionary") : plistError;
            return {};
        }
        const QVariantMap map = root.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (it.value().typeId() == QMetaType::QString)
                table.insert(it.key(), it.value().toString());
        }
        if (error)
            error->clear();
        return table;
    }

    Scanner scanner(text);
    while (!scanner.atEnd()) {
        QString key;
        QString value;
        if (!scanner.token(&key))
            break;
        // A key alone stands for itself.
        if (scanner.peek(QLatin1Char(';'))) {
            value = key;
        } else if (!scanner.expect(QLatin1Char('=')) || !scanner.token(&value)) {
            break;
        }
        if (!scanner.expect(QLatin1Char(';')))
            break;
        table.insert(key, value);
    }
    if (!scanner.error.isEmpty()) {
        if (error)
            *error = scanner.error;
        return {};
    }
    if (error)
        error->clear();
    return table;
}

QHash<QString, QString> StringsTable::fromFile(const QString &path, QString *error)
{
    QString readError;
    const std::optional<QByteArray> bytes = RegularFile::read(path, RegularFile::DefaultLimit, &readError);
    if (!bytes) {
        if (error)
            *error = readError;
        return {};
    }
    return parse(*bytes, error);
}
