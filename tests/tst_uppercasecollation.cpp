// The comparison of names that ignores case as Qt upper-cases letters, and
// its registration on SQLite connections.

#include "TestEnvironment.h"

#include "database/UpperCaseCollation.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

using namespace Velmar;

namespace {

int compare(const QByteArray &left, const QByteArray &right)
{
    return UpperCaseCollation::compareUtf8(left.constData(), int(left.size()), right.constData(), int(right.size()));
}

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// What the collation must agree with: the upper-case forms compared in UTF-16.
int expectedOrder(const QByteArray &left, const QByteArray &right)
{
    return sign(QString::fromUtf8(left).toUpper().compare(QString::fromUtf8(right).toUpper(), Qt::CaseSensitive));
}

} // namespace

class TestUpperCaseCollation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void equalTexts_data();
    void equalTexts();
    void orderAgreesWithQtUpperCase();
    void registeredOnEveryHandle();
    void registeredFromSeveralThreadsAtOnce();
};

void TestUpperCaseCollation::initTestCase()
{
    TestEnvironment::isolate();
}

void TestUpperCaseCollation::equalTexts_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("equal");
    QTest::newRow("accents") << "Crème brûlée" << "CRÈME BRÛLÉE" << true;
    QTest::newRow("umlaut") << "Grün" << "GRÜN" << true;
    QTest::newRow("circumflex first") << "Île Blanche" << "ÎLE BLANCHE" << true;
    QTest::newRow("ASCII") << "Pale Coral" << "PALE CORAL" << true;
    QTest::newRow("sharp s becomes two letters") << "Weiß" << "WEISS" << true;
    QTest::newRow("ligature becomes two letters") << "ﬁne" << "FINE" << true;
    QTest::newRow("dotless i") << "Kırmızı" << "KIRMIZI" << true;
    QTest::newRow("Greek") << "ωκεανός" << "ΩΚΕΑΝΌΣ" << true;
    QTest::newRow("Cyrillic") << "Синий" << "СИНИЙ" << true;
    QTest::newRow("beyond the BMP") << "𐐨𐐯" << "𐐀𐐇" << true;
    QTest::newRow("other accent") << "Crème" << "CREME" << false;
    QTest::newRow("prefix") << "Grün" << "GRÜNE" << false;
    QTest::newRow("empty and blank") << "" << " " << false;
    QTest::newRow("both empty") << "" << "" << true;
}

void TestUpperCaseCollation::equalTexts()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    QFETCH(bool, equal);
    QCOMPARE(compare(stored.toUtf8(), asked.toUtf8()) == 0, equal);
    QCOMPARE(compare(asked.toUtf8(), stored.toUtf8()) == 0, equal);
}

void TestUpperCaseCollation::orderAgreesWithQtUpperCase()
{
    // Every pair, both ways: the fast paths for ASCII and for single letters
    // must give the order of the upper-cased texts, also where they hand over
    // to QString halfway (ß, ligatures, letters beyond the BMP, bytes that
    // are no UTF-8).
    const QList<QByteArray> texts{
        "", " ", "a", "A", "B", "Z", "[", "_", "`", "{", "~", "ab", "AB", "abc", "Ab-1", "é", "É", "e", "E",
        "Crème brûlée", "CRÈME BRÛLÉE", "Creme", "Crèmes", "Grün", "GRÜN", "Grüne", "Grun", "Weiß", "WEISS",
        "Weiss", "WEIß", "Weißx", "WEISSX", "ß", "SS", "SR", "ST", "ﬁ", "FI", "FJ", "ı", "I", "İ", "i",
        "Ωμέγα", "ΩΜΈΓΑ", "ǅ", "ǆ", "Ǆ", "𐐨", "𐐀", "\xEF\xBF\xBF", "\xEE\x80\x80", "\xF0\x9F\x8E\xA8",
        QByteArray("\xC3", 1), QByteArray("A\xC3", 2), QByteArray("\xE2\x82", 2), QByteArray("\xFF", 1),
        QByteArray("\xC0\x80", 2), QByteArray("\xED\xA0\x80", 3), QByteArray("a\0b", 3), QByteArray("A\0B", 3)};
    for (const QByteArray &left : texts) {
        for (const QByteArray &right : texts) {
            const int expected = expectedOrder(left, right);
            const int actual = sign(compare(left, right));
            if (actual != expected) {
                QFAIL(qPrintable(QStringLiteral("\"%1\" against \"%2\": %3, Qt says %4")
                                     .arg(QString::fromLatin1(left.toHex()), QString::fromLatin1(right.toHex()))
                                     .arg(actual)
                                     .arg(expected)));
            }
        }
    }
}

void TestUpperCaseCollation::registeredOnEveryHandle()
{
    QTemporaryDir folder;
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("collation"));
    database.setDatabaseName(folder.filePath(QStringLiteral("any.db")));
    QVERIFY(!UpperCaseCollation::ensureRegistered(database)); // not open yet

    auto matches = [&database]() {
        QSqlQuery query(database);
        if (!query.exec(QStringLiteral("SELECT 'Crème brûlée' = 'CRÈME BRÛLÉE' COLLATE %1").arg(UpperCaseCollation::Name))
            || !query.next())
            return -1;
        return query.value(0).toInt();
    };
    // Closed and opened again, a connection gets a new handle, quite possibly
    // at the address of the old one; each handle needs the collation anew.
    for (int round = 0; round < 5; ++round) {
        QVERIFY(database.open());
        QCOMPARE(matches(), -1);
        QVERIFY(UpperCaseCollation::ensureRegistered(database));
        QVERIFY(UpperCaseCollation::ensureRegistered(database));
        QCOMPARE(matches(), 1);
        database.close();
    }
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("collation"));
}

void TestUpperCaseCollation::registeredFromSeveralThreadsAtOnce()
{
    // Threads that read ahead open and close connections of their own while
    // the interface opens its own: each handle still gets the collation, and
    // the handles known to have it are kept whole.
    const int threadCount = 6;
    const int rounds = 500;
    QAtomicInt matched;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back(QThread::create([t, &matched] {
            const QString name = QStringLiteral("collation on thread %1").arg(t);
            for (int round = 0; round < rounds; ++round) {
                {
                    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                    database.setDatabaseName(QStringLiteral(":memory:"));
                    if (database.open() && UpperCaseCollation::ensureRegistered(database)) {
                        QSqlQuery query(database);
                        if (query.exec(QStringLiteral("SELECT 'Grün' = 'GRÜN' COLLATE %1").arg(UpperCaseCollation::Name))
                            && query.next() && query.value(0).toInt() == 1)
                            matched.fetchAndAddRelaxed(1);
                    }
                    database.close();
                }
                QSqlDatabase::removeDatabase(name);
            }
        }));
    }
    for (const auto &thread : threads)
        thread->start();
    for (const auto &thread : threads)
        QVERIFY(thread->wait(60000));
    QCOMPARE(matched.loadRelaxed(), threadCount * rounds);
}

QTEST_GUILESS_MAIN(TestUpperCaseCollation)
#include "tst_uppercasecollation.moc"
