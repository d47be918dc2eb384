#include "HeadlessRun.h"

#include "InstallerHost.h"
#include "RadioColumn.h"
#include "RegularFile.h"

#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include <sys/stat.h>

namespace {

bool waitUntil(InstallerHost &host, int timeoutSeconds, bool (*done)(const InstallerHost &))
{
    if (done(host))
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    auto check = [&] {
        if (done(host))
            loop.quit();
    };
    QObject::connect(&host, &InstallerHost::buttonsChanged, &loop, check);
    QObject::connect(&host, &InstallerHost::pageChanged, &loop, check);
    timer.start(timeoutSeconds * 1000);
    loop.exec();
    return done(host);
}

// The pane's list of installations, when it has one.
const RadioColumn *listOf(const InstallerHost &host)
{
    QWidget *view = host.pageContentView(InstallerHost::PanePage);
    return view ? view->findChild<RadioColumn *>() : nullptr;
}

QString onOff(bool on)
{
    return on ? QStringLiteral("enabled") : QStringLiteral("disabled");
}

} // namespace

bool HeadlessRun::paneSettled(const InstallerHost &host)
{
    return host.currentPage() != InstallerHost::PanePage || host.isPreviousEnabled();
}

HeadlessRun::Status HeadlessRun::run(InstallerHost &host, int pickRow, int timeoutSeconds, const QString &scriptPath,
                                     QTextStream &out)
{
    host.start();
    host.goNext();
    if (!waitUntil(host, timeoutSeconds, &HeadlessRun::paneSettled)) {
        out << "timed out waiting for the pane\n";
        return TimedOut;
    }
    if (pickRow >= 0) {
        const RadioColumn *list = listOf(host);
        if (host.currentPage() != InstallerHost::PanePage || !list || pickRow >= list->numberOfRows()) {
            print(host, scriptPath, out);
            out << "no row " << pickRow << " to pick\n";
            return NoSuchRow;
        }
        list->cellAt(pickRow)->click();
    }
    print(host, scriptPath, out);
    return targetWithheld(host) ? ScriptNotWritten : Finished;
}

bool HeadlessRun::targetWithheld(const InstallerHost &host)
{
    // The pane fills its list only with installations found for a rule that
    // names a script, and then keeps Next off only while the script for
    // the selected one is not written.
    const RadioColumn *list = listOf(host);
    return host.currentPage() == InstallerHost::PanePage && list && list->numberOfRows() > 0
        && !host.isNextEnabled();
}

void HeadlessRun::print(const InstallerHost &host, const QString &scriptPath, QTextStream &out)
{
    out << "page: " << host.pageTitle(host.currentPage()) << '\n';
    out << "pane title: " << host.pageTitle(InstallerHost::PanePage) << '\n';
    if (QWidget *view = host.pageContentView(InstallerHost::PanePage)) {
        for (const QLabel *label : view->findChildren<QLabel *>()) {
            if (label->isHidden() || label->text().isEmpty())
                continue;
            for (const QString &line : label->text().split(QLatin1Char('\n')))
                out << "message: " << line << '\n';
        }
        if (const RadioColumn *list = listOf(host)) {
            const bool listShown = list->isVisibleTo(view);
            for (int i = 0; i < list->numberOfRows(); ++i) {
                out << "row " << i << (list->cellAt(i)->isChecked() ? " [x] " : " [ ] ") << list->titleOfCell(i)
                    << (listShown ? "" : " (hidden)") << '\n';
            }
        }
    }
    out << "previous: " << onOff(host.isPreviousEnabled()) << '\n';
    out << "next: " << onOff(host.isNextEnabled()) << '\n';
    if (targetWithheld(host)) {
        // Whatever lies there now was not written for this choice.
        out << "script: not written: " << scriptPath << '\n';
        return;
    }
    // The script's place is in a shared folder: whatever else sits there is
    // not read.
    const std::optional<QByteArray> script =
        scriptPath.isEmpty() ? std::nullopt : RegularFile::read(scriptPath);
    if (!script) {
        out << "script: none\n";
        return;
    }
    struct stat status;
    const QString mode = ::stat(QFile::encodeName(scriptPath).constData(), &status) == 0
                             ? QString::number(status.st_mode & 07777, 8).rightJustified(4, QLatin1Char('0'))
                             : QStringLiteral("unknown");
    out << "script: " << scriptPath << " (mode " << mode << ")\n";
    out << *script;
    out.flush();
}
