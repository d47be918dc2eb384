#include "InstallerException.h"
#include "Predicate.h"
#include "TestEnvironment.h"

#include <QtTest>

// Predicates as a rule writes them, evaluated against an Info.plist whose
// versions are already packed into 64-bit numbers.
class tst_Predicate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void evaluates_data();
    void evaluates();
    void refusesMalformedPredicates_data();
    void refusesMalformedPredicates();
    void longChainsStayFlat_data();
    void longChainsStayFlat();

private:
    static QVariantMap info();
};

QVariantMap tst_Predicate::info()
{
    return {
        {"CFBundleIdentifier", "com.adobe.Photoshop"},
        {"CFBundleName", QString::fromUtf8("Adobe Photoshop Caf\xc3\xa9")},
        // 13.1.2, as the search packs it.
        {"CFBundleShortVersionString", QVariant::fromValue<quint64>(3659178992336896ull)},
        // Above the signed range: 2^63 + 1.
        {"Huge", QVariant::fromValue<quint64>(9223372036854775809ull)},
        {"Negative", qint64(-5)},
        {"Real", 2.5},
        {"Flag", true},
        {"Tags", QVariantList{"alpha", "beta"}},
        {"Nested", QVariantMap{{"Inner", "x"}}},
    };
}

void tst_Predicate::evaluates_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("expected");

    // Numbers: 2^53 + 1 differs from 2^53 only when compared as integers.
    QTest::newRow("packed version equal") << "CFBundleShortVersionString == 3659178992336896" << true;
    QTest::newRow("packed version off by one") << "CFBundleShortVersionString == 3659178992336897" << false;
    QTest::newRow("packed version bound") << "CFBundleShortVersionString >= 3659174697238528" << true;
    QTest::newRow("packed version above") << "CFBundleShortVersionString > 3659178992336896" << false;
    QTest::newRow("unsigned beyond signed") << "Huge > 9223372036854775807" << true;
    QTest::newRow("unsigned exact") << "Huge == 9223372036854775809" << true;
    QTest::newRow("unsigned against negative") << "Negative < Huge" << true;
    QTest::newRow("negative") << "Negative == -5 AND Negative <= -5 AND Negative =< -4" << true;
    QTest::newRow("real against integer") << "Real > 2 AND Real < 3 AND Real != 2" << true;
    QTest::newRow("real constant") << "Real == 2.5 AND Real >= 25e-1" << true;
    QTest::newRow("boolean") << "Flag == YES AND Flag == TRUE AND Flag != NO AND Flag == 1" << true;
    QTest::newRow("hexadecimal") << "CFBundleShortVersionString > 0xD000000000000" << true;

    // Texts and their options.
    QTest::newRow("text equal") << "CFBundleIdentifier == \"com.adobe.Photoshop\"" << true;
    QTest::newRow("single quotes") << "CFBundleIdentifier = 'com.adobe.Photoshop'" << true;
    QTest::newRow("case matters") << "CFBundleIdentifier == 'com.adobe.photoshop'" << false;
    QTest::newRow("case ignored") << "CFBundleIdentifier ==[c] 'com.adobe.photoshop'" << true;
    QTest::newRow("beginswith") << "CFBundleIdentifier BEGINSWITH 'com.adobe'" << true;
    QTest::newRow("beginswith case") << "CFBundleIdentifier BEGINSWITH 'COM.ADOBE'" << false;
    QTest::newRow("beginswith[c]") << "CFBundleIdentifier beginswith[c] 'COM.ADOBE'" << true;
    QTest::newRow("endswith") << "CFBundleIdentifier ENDSWITH 'Photoshop'" << true;
    QTest::newRow("contains") << "CFBundleName CONTAINS 'Photoshop'" << true;
    QTest::newRow("diacritics matter") << "CFBundleName ENDSWITH 'Cafe'" << false;
    QTest::newRow("diacritics ignored") << "CFBundleName ENDSWITH[d] 'Cafe'" << true;
    QTest::newRow("both ignored") << "CFBundleName ENDSWITH[cd] 'CAFE'" << true;
    QTest::newRow("like") << "CFBundleIdentifier LIKE 'com.*.Photosho?'" << true;
    QTest::newRow("like is whole") << "CFBundleIdentifier LIKE 'adobe*'" << false;
    QTest::newRow("like takes dots literally") << "CFBundleIdentifier LIKE 'com?adobe*'" << true;
    QTest::newRow("like[c]") << "CFBundleIdentifier LIKE[c] 'COM.ADOBE.*'" << true;
    QTest::newRow("matches") << "CFBundleIdentifier MATCHES 'com\\\\.adobe\\\\.[A-Za-z]+'" << true;
    QTest::newRow("matches is whole") << "CFBundleIdentifier MATCHES 'adobe'" << false;
    QTest::newRow("matches[c]") << "CFBundleIdentifier MATCHES[c] 'COM.ADOBE.PHOTOSHOP'" << true;
    QTest::newRow("text ordering") << "CFBundleIdentifier > 'com.adobe.A' AND CFBundleIdentifier < 'com.b'" << true;

    // Collections.
    QTest::newRow("in aggregate") << "CFBundleIdentifier IN {'a', 'com.adobe.Photoshop'}" << true;
    QTest::newRow("not in aggregate") << "CFBundleIdentifier IN {'a', 'b'}" << false;
    QTest::newRow("in[c] aggregate") << "CFBundleIdentifier IN[c] {'COM.ADOBE.PHOTOSHOP'}" << true;
    QTest::newRow("number in aggregate") << "Negative IN {1, -5}" << true;
    QTest::newRow("in text") << "'adobe' IN CFBundleIdentifier" << true;
    QTest::newRow("in array") << "'beta' IN Tags" << true;
    QTest::newRow("array contains") << "Tags CONTAINS 'alpha' AND NOT (Tags CONTAINS 'gamma')" << true;

    // Key paths, missing keys and compounds.
    QTest::newRow("nested key path") << "Nested.Inner == 'x'" << true;
    QTest::newRow("missing key is null") << "Missing == nil AND Missing == NULL" << true;
    QTest::newRow("missing key compares false") << "Missing > 1 OR Missing < 1 OR Missing BEGINSWITH 'a'" << false;
    QTest::newRow("missing key differs") << "Missing != 'a'" << true;
    QTest::newRow("text is not a number") << "CFBundleIdentifier == 1" << false;
    QTest::newRow("and binds tighter than or") << "FALSEPREDICATE AND TRUEPREDICATE OR TRUEPREDICATE" << true;
    QTest::newRow("parentheses") << "FALSEPREDICATE AND (TRUEPREDICATE OR TRUEPREDICATE)" << false;
    QTest::newRow("symbols") << "!(Flag == NO) && (Negative < 0 || Real > 10)" << true;
    QTest::newRow("not") << "NOT CFBundleIdentifier == 'x'" << true;
    // Words in any case; keys exactly as written.
    QTest::newRow("lower-case words") << "cfbundleidentifier == nil and Flag == yes" << true;
    QTest::newRow("escaped reserved key") << "#IN == nil" << true;
    QTest::newRow("self") << "SELF != nil" << true;
}

void tst_Predicate::evaluates()
{
    QFETCH(QString, format);
    QFETCH(bool, expected);
    try {
        QCOMPARE(Predicate::predicateWithFormat(format).evaluateWithObject(info()), expected);
    } catch (const InstallerException &exception) {
        QFAIL(qPrintable(exception.description()));
    }
}

void tst_Predicate::refusesMalformedPredicates_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("empty") << "";
    QTest::newRow("no operator") << "CFBundleIdentifier";
    QTest::newRow("no right side") << "CFBundleIdentifier ==";
    QTest::newRow("unbalanced parenthesis") << "(Flag == YES";
    QTest::newRow("unterminated string") << "CFBundleIdentifier == 'abc";
    QTest::newRow("unknown option") << "CFBundleIdentifier ==[x] 'a'";
    QTest::newRow("trailing text") << "Flag == YES Flag";
    QTest::newRow("dangling and") << "Flag == YES AND";
    QTest::newRow("reserved word as key") << "AND == 1";
    QTest::newRow("unsupported quantifier") << "ANY Tags == 'alpha'";
    QTest::newRow("bad number") << "Real == 2.5x";
    QTest::newRow("unclosed aggregate") << "Negative IN {1, 2";
    QTest::newRow("nesting too deep") << QString(1000, QLatin1Char('(')) + "Flag == YES" + QString(1000, QLatin1Char(')'));
    // Parse fine, but compare values that cannot be compared.
    QTest::newRow("text ordered against number") << "CFBundleIdentifier > 5";
    QTest::newRow("substring of a number") << "Negative BEGINSWITH '5'";
    QTest::newRow("bad regular expression") << "CFBundleIdentifier MATCHES '('";
}

void tst_Predicate::refusesMalformedPredicates()
{
    QFETCH(QString, format);
    QVERIFY_THROWS_EXCEPTION(InstallerException, Predicate::predicateWithFormat(format).evaluateWithObject(info()));
}

void tst_Predicate::longChainsStayFlat_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("joiner");
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("expected");

    // 200,000 terms: nested one level per term, the tree alone would take
    // the stack down while it is evaluated or destroyed.
    QTest::newRow("AND, all true") << "Flag == YES" << " AND " << "Negative < 0" << true;
    QTest::newRow("AND, last false") << "Flag == YES" << " AND " << "Negative > 0" << false;
    QTest::newRow("&&, all true") << "Real > 2" << " && " << "Real < 3" << true;
    QTest::newRow("OR, only last true") << "Flag == NO" << " OR " << "Negative < 0" << true;
    QTest::newRow("OR, none true") << "Flag == NO" << " OR " << "Negative > 0" << false;
    QTest::newRow("||, only last true") << "Real < 2" << " || " << "Real < 3" << true;
    // Pairs of AND joined by OR: two levels however long the text.
    QTest::newRow("AND pairs joined by OR") << "Flag == NO AND Flag == YES" << " OR " << "Flag == YES AND Real > 2"
                                            << true;
}

void tst_Predicate::longChainsStayFlat()
{
    QFETCH(QString, term);
    QFETCH(QString, joiner);
    QFETCH(QString, last);
    QFETCH(bool, expected);

    QString format;
    format.reserve(200000 * (term.size() + joiner.size()));
    for (int i = 0; i < 199999; ++i)
        format += term + joiner;
    format += last;
    try {
        QCOMPARE(Predicate::predicateWithFormat(format).evaluateWithObject(info()), expected);
    } catch (const InstallerException &exception) {
        QFAIL(qPrintable(exception.description()));
    }
}

QTEST_GUILESS_MAIN(tst_Predicate)
#include "tst_Predicate.moc"
