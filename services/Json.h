#ifndef QTJSON_JSON_H
#define QTJSON_JSON_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace QtJson {

// JSON text to a tree of variants and back. The parser is lenient: commas
// between members and elements are optional, and text after the first
// complete value is not read. The writer puts a blank on each side of every
// bracket and separator. Everything is static and reentrant.
class Json
{
public:
    enum Token {
        TokenNone = 0,
        TokenObjectBegin,
        TokenObjectEnd,
        TokenArrayBegin,
        TokenArrayEnd,
        TokenColon,
        TokenComma,
        TokenString,
        TokenNumber,
        TokenTrue,
        TokenFalse,
        TokenNull
    };

    // Arrays and objects nested deeper than this fail to parse: the parser
    // recurses once per level, and the text may come from any program that
    // offers a drag.
    static constexpr int s_maxNestingDepth = 512;

    // A null text gives an invalid variant and success; an empty one fails.
    static QVariant parse(const QString &json, bool &success);
    static QVariant parse(const QString &json);
    // UTF-8 text, or a null byte array with success false when a value
    // cannot be written (an unsupported type, a double that is not finite).
    static QByteArray serialize(const QVariant &data, bool &success);
    static QByteArray serialize(const QVariant &data);

    static QVariant parseValue(const QString &json, int &index, bool &success);
    static QVariant parseObject(const QString &json, int &index, bool &success);
    static QVariant parseArray(const QString &json, int &index, bool &success);
    static QVariant parseString(const QString &json, int &index, bool &success);
    static QVariant parseNumber(const QString &json, int &index);
    // The kind of the next token; index moves past it.
    static Token nextToken(const QString &json, int &index);
    static Token lookAhead(const QString &json, int index);
    static void eatWhitespace(const QString &json, int &index);
    // The index of the last character of the number text that starts at index.
    static int lastIndexOfNumber(const QString &json, int index);

private:
    Json() = default;

    // depth counts the arrays and objects that enclose the value.
    static QVariant parseValue(const QString &json, int &index, bool &success, int depth);
    static QVariant parseObject(const QString &json, int &index, bool &success, int depth);
    static QVariant parseArray(const QString &json, int &index, bool &success, int depth);
};

// The text in double quotes, with backslash, double quote, backspace, form
// feed, line feed, carriage return and tab escaped.
QString sanitizeString(QString str);
// The items with the separator between them; the separator goes only after
// text that is not empty.
QByteArray join(const QList<QByteArray> &list, const QByteArray &separator);

} // namespace QtJson

#endif // QTJSON_JSON_H
