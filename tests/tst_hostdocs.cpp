// The README names what the stand-in hosts take and how they end, as their
// --help lists it: every option and every exit status of picker-host and
// pathwarden-host, each status in the README's list for that host. Its
// links to the documents of docs/ lead to files that are there.

#include "ProcessRun.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

class tst_HostDocs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readmeNamesEveryOptionAndStatus_data();
    void readmeNamesEveryOptionAndStatus();
    void readmeLinksLeadToDocuments();

private:
    // The option names a --help lists, without the help options themselves.
    static QStringList optionsOf(const QString &help);
    // The statuses of the help's "Exit status:" sentence.
    static QSet<int> statusesOf(const QString &help);
    // The statuses of the README's list after "Exit statuses of `<host>`:".
    QSet<int> readmeStatusesOf(const QString &host) const;

    QString m_readme;
};

void tst_HostDocs::initTestCase()
{
    QFile file(QStringLiteral(HUEFORM_README));
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_readme = QString::fromUtf8(file.readAll());
}

QStringList tst_HostDocs::optionsOf(const QString &help)
{
    QStringList options;
    static const QRegularExpression option(QStringLiteral("^  (-[\\w-]+)(?:, (-[\\w-]+))?"),
                                           QRegularExpression::MultilineOption);
    for (QRegularExpressionMatchIterator it = option.globalMatch(help); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = (match.captured(2).isEmpty() ? match.captured(1) : match.captured(2)).section(
            QRegularExpression(QStringLiteral("^-+")), 1);
        if (name != QLatin1String("help") && name != QLatin1String("help-all"))
            options << name;
    }
    return options;
}

QSet<int> tst_HostDocs::statusesOf(const QString &help)
{
    QSet<int> statuses;
    const QString sentence = help.section(QStringLiteral("Exit status: "), 1).section(QLatin1Char('\n'), 0, 0);
    static const QRegularExpression status(QStringLiteral("(?:^|, )(\\d+) (?:when|for) "));
    for (QRegularExpressionMatchIterator it = status.globalMatch(sentence); it.hasNext();)
        statuses.insert(it.next().captured(1).toInt());
    return statuses;
}

QSet<int> tst_HostDocs::readmeStatusesOf(const QString &host) const
{
    QSet<int> statuses;
    const QString heading = QStringLiteral("Exit statuses of `%1`:\n\n").arg(host);
    const qsizetype start = m_readme.indexOf(heading);
    if (start < 0)
        return statuses;
    // The list runs to the first blank line.
    const QString list = m_readme.mid(start + heading.size()).section(QStringLiteral("\n\n"), 0, 0);
    static const QRegularExpression item(QStringLiteral("^- (\\d+): "), QRegularExpression::MultilineOption);
    for (QRegularExpressionMatchIterator it = item.globalMatch(list); it.hasNext();)
        statuses.insert(it.next().captured(1).toInt());
    return statuses;
}

void tst_HostDocs::readmeNamesEveryOptionAndStatus_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("picker-host") << PICKER_HOST;
    QTest::newRow("pathwarden-host") << PATHWARDEN_HOST;
}

void tst_HostDocs::readmeNamesEveryOptionAndStatus()
{
    QFETCH(QString, program);
    QProcess process;
    const ProcessRun help = ProcessRun::of(process, program, {QStringLiteral("--help")});
    QVERIFY2(help.exitCode == 0, qPrintable(help.errors));

    const QStringList options = optionsOf(help.output);
    QVERIFY2(options.size() > 3, qPrintable(help.output));
    for (const QString &option : options) {
        // As code, and not only as the beginning of a longer option's name.
        const QRegularExpression named(QStringLiteral("`--?%1(?![\\w-])").arg(QRegularExpression::escape(option)));
        QVERIFY2(m_readme.contains(named), qPrintable(QStringLiteral("the README does not name --") + option));
    }

    const QSet<int> listed = statusesOf(help.output);
    QVERIFY2(listed.contains(0) && listed.contains(2), qPrintable(help.output));
    const QString host = QFileInfo(program).fileName();
    QCOMPARE(readmeStatusesOf(host), listed);
}

void tst_HostDocs::readmeLinksLeadToDocuments()
{
    static const QRegularExpression link(QStringLiteral("\\]\\((docs/[^)]+)\\)"));
    int links = 0;
    for (QRegularExpressionMatchIterator it = link.globalMatch(m_readme); it.hasNext(); ++links) {
        const QString target = it.next().captured(1);
        QVERIFY2(QFileInfo(QFileInfo(QStringLiteral(HUEFORM_README)).dir().filePath(target)).isFile(),
                 qPrintable(target));
    }
    QVERIFY(links > 0);
}

QTEST_GUILESS_MAIN(tst_HostDocs)
#include "tst_hostdocs.moc"
