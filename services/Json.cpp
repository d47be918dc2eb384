#include "services/Json.h"

#include <QHash>
#include <QMap>
#include <QStringList>

#include <cmath>

namespace QtJson {

namespace {

bool isWhitespace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

bool isNumberCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('-')
        || c == QLatin1Char('.') || c == QLatin1Char('e') || c == QLatin1Char('E');
}

bool textAt(const QString &json, int index, QLatin1String word)
{
    return json.size() - index >= word.size() && QStringView(json).mid(index, word.size()) == word;
}

// The value of four hexadecimal digits, or 0 when any of them is not one.
ushort hexCodeUnit(QStringView digits)
{
    ushort value = 0;
    for (QChar c : digits) {
        const ushort u = c.unicode();
        int digit;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (u >= 'a' && u <= 'f')
            digit = u - 'a' + 10;
        else if (u >= 'A' && u <= 'F')
            digit = u - 'A' + 10;
        else
            return 0;
        value = ushort(value * 16 + digit);
    }
    return value;
}

QByteArray serializeMembers(const QList<QPair<QString, QVariant>> &members, bool &success)
{
    QList<QByteArray> pairs;
    for (const auto &member : members) {
        const QByteArray value = Json::serialize(member.second, success);
        if (value.isNull()) {
            success = false;
            return QByteArray();
        }
        pairs.append(sanitizeString(member.first).toUtf8() + " : " + value);
    }
    return "{ " + join(pairs, ", ") + " }";
}

} // namespace

QVariant Json::parse(const QString &json)
{
    bool success = true;
    return parse(json, success);
}

QVariant Json::parse(const QString &json, bool &success)
{
    success = true;
    if (json.isNull())
        return QVariant();
    int index = 0;
    return parseValue(json, index, success, 0);
}

QByteArray Json::serialize(const QVariant &data)
{
    bool success = true;
    return serialize(data, success);
}

QByteArray Json::serialize(const QVariant &data, bool &success)
{
    success = true;
    QByteArray text;
    const int type = data.userType();

    if (!data.isValid()) {
        text = "null";
    } else if (type == QMetaType::QVariantList || type == QMetaType::QStringList) {
        QList<QByteArray> values;
        const QVariantList list = data.toList();
        for (const QVariant &element : list) {
            const QByteArray value = serialize(element, success);
            if (value.isNull()) {
                success = false;
                break;
            }
            values.append(value);
        }
        text = "[ " + join(values, ", ") + " ]";
    } else if (type == QMetaType::QVariantHash) {
        const QVariantHash hash = data.toHash();
        QList<QPair<QString, QVariant>> members;
        for (auto it = hash.cbegin(); it != hash.cend(); ++it)
            members.append(qMakePair(it.key(), it.value()));
        text = serializeMembers(members, success);
    } else if (type == QMetaType::QVariantMap) {
        const QVariantMap map = data.toMap();
        QList<QPair<QString, QVariant>> members;
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            members.append(qMakePair(it.key(), it.value()));
        text = serializeMembers(members, success);
    } else if (type == QMetaType::QString || type == QMetaType::QByteArray) {
        text = sanitizeString(data.toString()).toUtf8();
    } else if (type == QMetaType::Double || type == QMetaType::Float) {
        // A float variant is a double to every caller; JSON has no
        // spelling for NaN or infinity, so those cannot be written.
        const double value = data.toDouble();
        if (!std::isfinite(value)) {
            success = false;
        } else {
            text = QByteArray::number(value, 'g', 20);
            if (!text.contains('.') && !text.contains('e'))
                text += ".0";
        }
    } else if (type == QMetaType::Bool) {
        text = data.toBool() ? "true" : "false";
    } else if (type == QMetaType::ULongLong) {
        text = QByteArray::number(data.toULongLong());
    } else if (data.canConvert<qlonglong>()) {
        text = QByteArray::number(data.toLongLong());
    } else if (data.canConvert<long>()) {
        text = QByteArray::number(data.value<long>());
    } else if (data.canConvert<QString>()) {
        text = sanitizeString(data.toString()).toUtf8();
    } else {
        success = false;
    }

    return success ? text : QByteArray();
}

QVariant Json::parseValue(const QString &json, int &index, bool &success)
{
    return parseValue(json, index, success, 0);
}

QVariant Json::parseValue(const QString &json, int &index, bool &success, int depth)
{
    switch (lookAhead(json, index)) {
    case TokenString:
        return parseString(json, index, success);
    case TokenNumber:
        return parseNumber(json, index);
    case TokenObjectBegin:
        return parseObject(json, index, success, depth);
    case TokenArrayBegin:
        return parseArray(json, index, success, depth);
    case TokenTrue:
        nextToken(json, index);
        return QVariant(true);
    case TokenFalse:
        nextToken(json, index);
        return QVariant(false);
    case TokenNull:
        nextToken(json, index);
        return QVariant();
    default:
        break;
    }
    success = false;
    return QVariant();
}

QVariant Json::parseObject(const QString &json, int &index, bool &success)
{
    return parseObject(json, index, success, 0);
}

QVariant Json::parseObject(const QString &json, int &index, bool &success, int depth)
{
    if (depth >= s_maxNestingDepth) {
        success = false;
        return QVariantMap();
    }
    QVariantMap map;
    nextToken(json, index);
    for (;;) {
        const Token token = lookAhead(json, index);
        if (token == TokenNone) {
            success = false;
            return QVariantMap();
        }
        if (token == TokenComma) {
            nextToken(json, index);
        } else if (token == TokenObjectEnd) {
            nextToken(json, index);
            return map;
        } else {
            // A name must be a string: reading anything else as one would
            // silently drop its first character.
            if (token != TokenString) {
                success = false;
                return QVariantMap();
            }
            const QString name = parseString(json, index, success).toString();
            if (!success)
                return QVariantMap();
            if (nextToken(json, index) != TokenColon) {
                success = false;
                return QVariantMap();
            }
            const QVariant value = parseValue(json, index, success, depth + 1);
            if (!success)
                return QVariantMap();
            map.insert(name, value);
        }
    }
}

QVariant Json::parseArray(const QString &json, int &index, bool &success)
{
    return parseArray(json, index, success, 0);
}

QVariant Json::parseArray(const QString &json, int &index, bool &success, int depth)
{
    if (depth >= s_maxNestingDepth) {
        success = false;
        return QVariantList();
    }
    QVariantList list;
    nextToken(json, index);
    for (;;) {
        const Token token = lookAhead(json, index);
        if (token == TokenNone) {
            success = false;
            return QVariantList();
        }
        if (token == TokenComma) {
            nextToken(json, index);
        } else if (token == TokenArrayEnd) {
            nextToken(json, index);
            return list;
        } else {
            const QVariant value = parseValue(json, index, success, depth + 1);
            if (!success)
                return QVariantList();
            list.append(value);
        }
    }
}

QVariant Json::parseString(const QString &json, int &index, bool &success)
{
    QString text(QLatin1String("")); // "" parses as an empty text, not a null one
    eatWhitespace(json, index);
    ++index; // the opening quote
    const int size = int(json.size());
    while (index < size) {
        const QChar c = json.at(index++);
        if (c == QLatin1Char('"'))
            return text;
        if (c != QLatin1Char('\\')) {
            text.append(c);
            continue;
        }
        if (index == size)
            break;
        const QChar escaped = json.at(index++);
        switch (escaped.unicode()) {
        case '"':
        case '\\':
        case '/':
            text.append(escaped);
            break;
        case 'b':
            text.append(QLatin1Char('\b'));
            break;
        case 'f':
            text.append(QLatin1Char('\f'));
            break;
        case 'n':
            text.append(QLatin1Char('\n'));
            break;
        case 'r':
            text.append(QLatin1Char('\r'));
            break;
        case 't':
            text.append(QLatin1Char('\t'));
            break;
        case 'u':
            if (size - index < 4) {
                success = false;
                return QVariant();
            }
            text.append(QChar(hexCodeUnit(QStringView(json).mid(index, 4))));
            index += 4;
            break;
        default:
            // An unknown escape is dropped together with its backslash.
            break;
        }
    }
    success = false;
    return QVariant();
}

QVariant Json::parseNumber(const QString &json, int &index)
{
    eatWhitespace(json, index);
    const int last = lastIndexOfNumber(json, index);
    const QString number = json.mid(index, last - index + 1);
    index = last + 1;

    bool ok = false;
    if (number.contains(QLatin1Char('.')) || number.contains(QLatin1Char('e')) || number.contains(QLatin1Char('E'))) {
        // QString::toDouble reads a point whatever the user's locale is. A
        // text out of range gives 0, so a parsed tree never holds infinity.
        const double value = number.toDouble(&ok);
        return ok && std::isfinite(value) ? value : 0.0;
    }
    if (number.startsWith(QLatin1Char('-'))) {
        const qint64 value = number.toLongLong(&ok, 10);
        return ok ? value : qint64(0);
    }
    const quint64 value = number.toULongLong(&ok, 10);
    return ok ? value : quint64(0);
}

Json::Token Json::lookAhead(const QString &json, int index)
{
    return nextToken(json, index);
}

Json::Token Json::nextToken(const QString &json, int &index)
{
    eatWhitespace(json, index);
    if (index >= json.size())
        return TokenNone;

    const QChar c = json.at(index);
    switch (c.unicode()) {
    case '{':
        ++index;
        return TokenObjectBegin;
    case '}':
        ++index;
        return TokenObjectEnd;
    case '[':
        ++index;
        return TokenArrayBegin;
    case ']':
        ++index;
        return TokenArrayEnd;
    case ':':
        ++index;
        return TokenColon;
    case ',':
        ++index;
        return TokenComma;
    case '"':
        ++index;
        return TokenString;
    default:
        break;
    }
    if (c == QLatin1Char('-') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))) {
        ++index;
        return TokenNumber;
    }
    if (textAt(json, index, QLatin1String("true"))) {
        index += 4;
        return TokenTrue;
    }
    if (textAt(json, index, QLatin1String("false"))) {
        index += 5;
        return TokenFalse;
    }
    if (textAt(json, index, QLatin1String("null"))) {
        index += 4;
        return TokenNull;
    }
    return TokenNone;
}

void Json::eatWhitespace(const QString &json, int &index)
{
    while (index < json.size() && isWhitespace(json.at(index)))
        ++index;
}

int Json::lastIndexOfNumber(const QString &json, int index)
{
    int last = index;
    while (last < json.size() && isNumberCharacter(json.at(last)))
        ++last;
    return last - 1;
}

QString sanitizeString(QString str)
{
    str.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    str.replace(QLatin1String("\""), QLatin1String("\\\""));
    str.replace(QLatin1String("\b"), QLatin1String("\\b"));
    str.replace(QLatin1String("\f"), QLatin1String("\\f"));
    str.replace(QLatin1String("\n"), QLatin1String("\\n"));
    str.replace(QLatin1String("\r"), QLatin1String("\\r"));
    str.replace(QLatin1String("\t"), QLatin1String("\\t"));
    return QLatin1String("\"") + str + QLatin1String("\"");
}

QByteArray join(const QList<QByteArray> &list, const QByteArray &separator)
{
    QByteArray result;
    for (const QByteArray &item : list) {
        if (!result.isEmpty())
            result += separator;
        result += item;
    }
    return result;
}

} // namespace QtJson
