#include "services/Json.h"

#include "TestEnvironment.h"

#include <QDate>
#include <QPoint>
#include <QTest>
#include <QUrl>

#include <limits>

using QtJson::Json;

namespace {

// The variant tree as text that shows every value's type, so that a
// comparison also catches a signed integer where an unsigned one belongs:
// u unsigned, i signed, d double, s text, (null) a null text.
QString typed(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("null");
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::LongLong:
        return QLatin1Char('i') + QString::number(value.toLongLong());
    case QMetaType::ULongLong:
        return QLatin1Char('u') + QString::number(value.toULongLong());
    case QMetaType::Double:
        return QLatin1Char('d') + QString::number(value.toDouble(), 'g', 17);
    case QMetaType::QString: {
        const QString text = value.toString();
        if (text.isNull())
            return QStringLiteral("s(null)");
        QString shown;
        for (QChar c : text) {
            if (c.unicode() < 0x20)
                shown += QStringLiteral("{%1}").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                shown += c;
        }
        return QStringLiteral("s'") + shown + QLatin1Char('\'');
    }
    case QMetaType::QVariantList: {
        QStringList items;
        for (const QVariant &item : value.toList())
            items << typed(item);
        return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    case QMetaType::QVariantMap: {
        QStringList members;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            members << it.key() + QStringLiteral(": ") + typed(it.value());
        return QLatin1Char('{') + members.join(QStringLiteral(", ")) + QLatin1Char('}');
    }
    default:
        return QStringLiteral("?") + QString::fromLatin1(value.typeName());
    }
}

QString nested(const QString &open, const QString &inner, const QString &close, int depth)
{
    return open.repeated(depth) + inner + close.repeated(depth);
}

} // namespace

class TestJson : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void parse_data();
    void parse();
    void nestingDepth_data();
    void nestingDepth();

    void serialize_data();
    void serialize();
    void roundTrip();
    void join_data();
    void join();
};

void TestJson::initTestCase()
{
    TestEnvironment::isolate();
}

void TestJson::parse_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("success");

    // Leniency: commas are optional, and nothing after the first value is read.
    QTest::newRow("missing and doubled commas") << "[1,,2 3]" << "[u1, u2, u3]" << true;
    QTest::newRow("trailing comma in an object") << R"({"a":1,})" << "{a: u1}" << true;
    QTest::newRow("commas before the first member") << R"({,,"a":1})" << "{a: u1}" << true;
    QTest::newRow("text after the value") << R"({"a":1} {)" << "{a: u1}" << true;
    QTest::newRow("names sorted, a repeated name keeps the last")
        << R"({"b":1,"a":2,"b":3})" << "{a: u2, b: u3}" << true;
    QTest::newRow("whitespace of all four kinds") << " \t\r\n[ true ,\n false\t, null ]" << "[true, false, null]"
                                                   << true;
    QTest::newRow("nested") << R"({"list":[{"x":-1},[]],"o":{}})" << "{list: [{x: i-1}, []], o: {}}" << true;

    // Empty texts and keywords.
    QTest::newRow("null text") << QString() << "null" << true;
    QTest::newRow("empty text") << "" << "null" << false;
    QTest::newRow("only whitespace") << " \n" << "null" << false;
    QTest::newRow("closing bracket") << "]" << "null" << false;
    QTest::newRow("tru") << "tru" << "null" << false;
    QTest::newRow("truex") << "truex" << "true" << true;
    QTest::newRow("false") << "false" << "false" << true;
    QTest::newRow("null") << "null" << "null" << true;

    // Numbers: signed only with a minus, a double with a point or exponent,
    // and 0 of the chosen type when the text does not convert.
    QTest::newRow("negative") << "-5" << "i-5" << true;
    QTest::newRow("positive") << "5" << "u5" << true;
    QTest::newRow("point") << "1.5" << "d1.5" << true;
    QTest::newRow("exponent") << "1e3" << "d1000" << true;
    QTest::newRow("capital exponent, negative") << "-2E-2" << "d-0.02" << true;
    QTest::newRow("largest unsigned") << "18446744073709551615" << "u18446744073709551615" << true;
    QTest::newRow("smallest signed") << "-9223372036854775808" << "i-9223372036854775808" << true;
    QTest::newRow("unsigned out of range") << "18446744073709551616" << "u0" << true;
    QTest::newRow("signed out of range") << "-9223372036854775809" << "i0" << true;
    QTest::newRow("double out of range") << "1e999" << "d0" << true;
    QTest::newRow("two points") << "1.2.3" << "d0" << true;
    QTest::newRow("doubled minus") << "--5" << "i0" << true;
    QTest::newRow("one run of number characters") << "[1-2,3]" << "[u0, u3]" << true;

    // Strings.
    QTest::newRow("empty string") << R"("")" << "s''" << true;
    QTest::newRow("unicode escape") << R"("\u0041\u00e9\u00C9")" << "s'AéÉ'" << true;
    QTest::newRow("surrogate pair as two escapes") << R"("\ud83d\ude00")" << QString::fromUtf8("s'\xF0\x9F\x98\x80'")
                                                   << true;
    QTest::newRow("all short escapes") << R"("\"\\\/\b\f\n\r\t")" << "s'\"\\/{08}{0c}{0a}{0d}{09}'" << true;
    QTest::newRow("unknown escape dropped") << R"("a\qb")" << "s'ab'" << true;
    QTest::newRow("escape that is not hexadecimal") << R"("\uzzzz!")" << "s'{00}!'" << true;
    QTest::newRow("raw line break kept") << "\"a\nb\"" << "s'a{0a}b'" << true;
    QTest::newRow("no closing quote") << R"("abc)" << "null" << false;
    QTest::newRow("backslash at the end") << R"("ab\)" << "null" << false;
    QTest::newRow("unicode escape cut short") << R"("\u12")" << "null" << false;

    // A failure inside a container at the top leaves that container empty.
    QTest::newRow("name without quotes") << "{a:1}" << "{}" << false;
    QTest::newRow("missing colon") << R"({"a" 1})" << "{}" << false;
    QTest::newRow("missing value") << R"({"a":})" << "{}" << false;
    QTest::newRow("unclosed object") << R"({"a":1)" << "{}" << false;
    QTest::newRow("unclosed array") << "[1,2" << "[]" << false;
    QTest::newRow("wrong closing bracket") << "[1,}]" << "[]" << false;
    QTest::newRow("failure deep inside an object") << R"({"a":[1,{"b":}]})" << "{}" << false;
}

void TestJson::parse()
{
    QFETCH(QString, json);
    QFETCH(QString, expected);
    QFETCH(bool, success);

    bool ok = !success;
    const QVariant value = Json::parse(json, ok);
    QCOMPARE(typed(value), expected);
    QCOMPARE(ok, success);
}

void TestJson::nestingDepth_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("success");

    const int limit = Json::s_maxNestingDepth;
    QTest::newRow("arrays at the limit") << nested("[", "", "]", limit) << limit << true;
    QTest::newRow("arrays beyond the limit") << nested("[", "", "]", limit + 1) << limit + 1 << false;
    QTest::newRow("objects at the limit") << nested(R"({"a":)", "1", "}", limit) << limit << true;
    QTest::newRow("objects beyond the limit") << nested(R"({"a":)", "1", "}", limit + 1) << limit + 1 << false;
    QTest::newRow("mixed beyond the limit")
        << nested(R"([{"a":)", "[]", "}]", limit / 2) << limit + 1 << false;
    // Without a limit, texts like these overflow the stack.
    QTest::newRow("a million open brackets") << QString(1000000, QLatin1Char('[')) << 1000000 << false;
    QTest::newRow("a hundred thousand open objects") << QStringLiteral(R"({"":)").repeated(100000) << 100000
                                                     << false;
}

void TestJson::nestingDepth()
{
    QFETCH(QString, json);
    QFETCH(int, depth);
    QFETCH(bool, success);

    bool ok = !success;
    QVariant value = Json::parse(json, ok);
    QCOMPARE(ok, success);
    if (!success) {
        // The container at the top comes back empty.
        QVERIFY(value.userType() == QMetaType::QVariantList || value.userType() == QMetaType::QVariantMap);
        QVERIFY(value.toList().isEmpty() && value.toMap().isEmpty());
        return;
    }
    int levels = 0;
    for (;;) {
        if (value.userType() == QMetaType::QVariantList) {
            const QVariantList list = value.toList();
            ++levels;
            if (list.isEmpty())
                break;
            value = list.constFirst();
        } else if (value.userType() == QMetaType::QVariantMap) {
            ++levels;
            value = value.toMap().value(QStringLiteral("a"));
        } else {
            break;
        }
    }
    QCOMPARE(levels, depth);
}

void TestJson::serialize_data()
{
    QTest::addColumn<QVariant>("data");
    QTest::addColumn<QByteArray>("expected"); // null when nothing can be written
    QTest::addColumn<bool>("success");

    const QByteArray failed;

    // Layout: a blank on each side of every bracket and separator.
    QTest::newRow("map, names sorted") << QVariant(QVariantMap{{"b", 1}, {"a", "x"}})
                                       << QByteArray(R"({ "a" : "x", "b" : 1 })") << true;
    QTest::newRow("hash") << QVariant(QVariantHash{{"k", true}}) << QByteArray(R"({ "k" : true })") << true;
    QTest::newRow("empty list") << QVariant(QVariantList{}) << QByteArray("[  ]") << true;
    QTest::newRow("empty map") << QVariant(QVariantMap{}) << QByteArray("{  }") << true;
    QTest::newRow("empty hash") << QVariant(QVariantHash{}) << QByteArray("{  }") << true;
    QTest::newRow("invalid") << QVariant() << QByteArray("null") << true;
    QTest::newRow("nested") << QVariant(QVariantList{1, QVariantMap{{"a", QVariantList{}}}, QVariant()})
                            << QByteArray(R"([ 1, { "a" : [  ] }, null ])") << true;
    QTest::newRow("string list") << QVariant(QStringList{"a", "b"}) << QByteArray(R"([ "a", "b" ])") << true;

    // Doubles: 20 significant digits, and always recognisable as a double.
    QTest::newRow("3.0") << QVariant(3.0) << QByteArray("3.0") << true;
    QTest::newRow("-2.0") << QVariant(-2.0) << QByteArray("-2.0") << true;
    QTest::newRow("0.5") << QVariant(0.5) << QByteArray("0.5") << true;
    QTest::newRow("0.1") << QVariant(0.1) << QByteArray("0.10000000000000000555") << true;
    QTest::newRow("1e20") << QVariant(1e20) << QByteArray("1e+20") << true;
    QTest::newRow("1e-5") << QVariant(1e-5) << QByteArray("1.0000000000000000818e-05") << true;
    QTest::newRow("float") << QVariant(1.5f) << QByteArray("1.5") << true;
    QTest::newRow("NaN") << QVariant(std::numeric_limits<double>::quiet_NaN()) << failed << false;
    QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity()) << failed << false;
    QTest::newRow("minus infinity") << QVariant(-std::numeric_limits<double>::infinity()) << failed << false;
    QTest::newRow("float infinity") << QVariant(std::numeric_limits<float>::infinity()) << failed << false;
    QTest::newRow("NaN in a map")
        << QVariant(QVariantMap{{"a", 1}, {"b", std::numeric_limits<double>::quiet_NaN()}}) << failed << false;

    QTest::newRow("true") << QVariant(true) << QByteArray("true") << true;
    QTest::newRow("false") << QVariant(false) << QByteArray("false") << true;
    QTest::newRow("int") << QVariant(-3) << QByteArray("-3") << true;
    QTest::newRow("unsigned int") << QVariant(4000000000u) << QByteArray("4000000000") << true;
    QTest::newRow("smallest signed 64-bit") << QVariant(std::numeric_limits<qint64>::min())
                                            << QByteArray("-9223372036854775808") << true;
    QTest::newRow("largest unsigned 64-bit") << QVariant(std::numeric_limits<quint64>::max())
                                             << QByteArray("18446744073709551615") << true;

    // Strings: only seven characters are escaped; the rest goes out as UTF-8.
    QTest::newRow("quote and line feed") << QVariant(QStringLiteral("a\"b\nc")) << QByteArray(R"("a\"b\nc")") << true;
    QTest::newRow("backslash and the other escapes")
        << QVariant(QStringLiteral("\\\t\r\b\f")) << QByteArray(R"("\\\t\r\b\f")") << true;
    QTest::newRow("slash and a non-ASCII letter unescaped")
        << QVariant(QString::fromUtf8("a/\xC3\xA9")) << QByteArray("\"a/\xC3\xA9\"") << true;
    QTest::newRow("other control characters unescaped")
        << QVariant(QStringLiteral("\x01")) << QByteArray("\"\x01\"") << true;
    QTest::newRow("byte array") << QVariant(QByteArray("x\"")) << QByteArray(R"("x\"")") << true;
    QTest::newRow("name escaped") << QVariant(QVariantMap{{"a\"b", 1}}) << QByteArray(R"({ "a\"b" : 1 })") << true;
    QTest::newRow("date as text") << QVariant(QDate(2024, 1, 2)) << QByteArray(R"("2024-01-02")") << true;
    QTest::newRow("URL as text") << QVariant(QUrl(QStringLiteral("file:///x"))) << QByteArray(R"("file:///x")")
                                 << true;

    // A value that is neither a number nor a text cannot be written, not
    // even inside a container.
    QTest::newRow("point") << QVariant(QPoint(1, 2)) << failed << false;
    QTest::newRow("point in a list") << QVariant(QVariantList{1, QPoint(1, 2)}) << failed << false;
    QTest::newRow("point in a map") << QVariant(QVariantMap{{"p", QPoint(1, 2)}}) << failed << false;
    QTest::newRow("point deep inside")
        << QVariant(QVariantList{QVariantMap{{"l", QVariantList{QPoint(1, 2)}}}}) << failed << false;
}

void TestJson::serialize()
{
    QFETCH(QVariant, data);
    QFETCH(QByteArray, expected);
    QFETCH(bool, success);

    bool ok = !success;
    const QByteArray text = Json::serialize(data, ok);
    QCOMPARE(text, expected);
    QCOMPARE(text.isNull(), expected.isNull());
    QCOMPARE(ok, success);
}

void TestJson::roundTrip()
{
    // What the writer escapes, the parser reads back: every escaped
    // character, raw control characters, non-ASCII letters and a character
    // outside the basic plane, in names and in values.
    const QString awkward = QString::fromUtf8("\"\\/\b\f\n\r\t\x01 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65 \xF0\x9F\x8E\xA8");
    const QVariantMap data{
        {QStringLiteral("collectuionUuid"), QStringLiteral("{00000000-0000-0000-0000-000000000001}")},
        {QStringLiteral("colorId"), quint64(42)},
        {QStringLiteral("below"), qint64(-7)},
        {QStringLiteral("ratio"), 0.1},
        {awkward, awkward},
        {QStringLiteral("empty"), QString(QLatin1String(""))},
        {QStringLiteral("list"), QVariantList{true, false, QVariant(), 3.0, QVariantMap{}}},
    };

    bool ok = false;
    const QByteArray text = Json::serialize(data, ok);
    QVERIFY(ok);
    const QVariant back = Json::parse(QString::fromUtf8(text), ok);
    QVERIFY(ok);
    QCOMPARE(typed(back), typed(data));
}

void TestJson::join_data()
{
    QTest::addColumn<QList<QByteArray>>("items");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("none") << QList<QByteArray>{} << QByteArray("");
    QTest::newRow("one") << QList<QByteArray>{"a"} << QByteArray("a");
    QTest::newRow("three") << QList<QByteArray>{"a", "b", "c"} << QByteArray("a, b, c");
    QTest::newRow("nothing before an empty start") << QList<QByteArray>{"", "a", "b"} << QByteArray("a, b");
}

void TestJson::join()
{
    QFETCH(QList<QByteArray>, items);
    QFETCH(QByteArray, expected);

    QCOMPARE(QtJson::join(items, ", "), expected);
}

QTEST_GUILESS_MAIN(TestJson)
#include "tst_json.moc"
