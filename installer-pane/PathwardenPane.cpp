#include "PathwardenPane.h"

#include "BusyIndicator.h"
#include "InstallationSearch.h"
#include "InstallerHost.h"
#include "PathwardenConstants.h"
#include "PropertyList.h"
#include "RadioColumn.h"
#include "SystemLog.h"
#include "TargetScript.h"
#include "WrappingLabel.h"

#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <pthread.h>
#include <system_error>

PathwardenPane::PathwardenPane(InstallerHost *host, const Bundle &pluginBundle)
    : InstallerPane(host)
    , m_pluginBundle(pluginBundle)
{
    buildControls();
    awakeFromNib();
}

PathwardenPane::~PathwardenPane()
{
    // Quitting must not wait on a program that never ends: the search ends
    // it (terminate, then kill) and returns. Waiting for the thread keeps it
    // from outliving the pane and the library that holds its code.
    m_searchStopper.stop();
    if (m_searchThread.joinable())
        m_searchThread.join();
}

void PathwardenPane::buildControls()
{
    QWidget *content = contentView();
    m_controlContainerView = new QWidget(content);
    m_controlContainerView->setObjectName(QStringLiteral("controlContainerView"));
    m_progressIndicator = new BusyIndicator(m_controlContainerView);
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->hide();
    // Wraps even inside a long folder name, so the window keeps its width.
    m_messageText = new WrappingLabel(m_controlContainerView);
    m_messageText->setObjectName(QStringLiteral("messageText"));
    m_scroller = new QScrollArea(m_controlContainerView);
    m_scroller->setObjectName(QStringLiteral("scroller"));
    m_scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The list takes the visible width and at least the visible height.
    m_scroller->setWidgetResizable(true);
    m_scrollerView = new QWidget;
    m_scrollerView->setObjectName(QStringLiteral("scrollerView"));
    m_radioGroup = new RadioColumn(m_scrollerView);
    m_radioGroup->setObjectName(QStringLiteral("radioGroup"));
    auto *listLayout = new QVBoxLayout(m_scrollerView);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(m_radioGroup);
    m_scroller->setWidget(m_scrollerView);

    auto *controls = new QVBoxLayout(m_controlContainerView);
    controls->addWidget(m_messageText);
    controls->addWidget(m_progressIndicator, 0, Qt::AlignHCenter);
    controls->addWidget(m_scroller, 1);
    // The content view lays its controls out as it is resized.
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_controlContainerView);
}

void PathwardenPane::awakeFromNib()
{
    // The package is three levels above the pane's bundle:
    // PACKAGE/Contents/Plugins/Pathwarden.bundle.
    if (m_pluginBundle.isValid())
        m_packageBundle = Bundle::bundleWithPath(QDir::cleanPath(m_pluginBundle.bundlePath() + QStringLiteral("/../../..")));

    const QString systemVersionFile = host() ? host()->systemPaths().systemVersionFile : SystemPaths().systemVersionFile;
    const QStringList version = PropertyList::fromFile(systemVersionFile)
                                    .toMap()
                                    .value(QStringLiteral("ProductVersion"))
                                    .toString()
                                    .split(QLatin1Char('.'));
    const int release = version.size() >= 2 ? version.at(1).toInt() : 0;
    m_isMaverick = release == 9;
    m_isMouLion = release == 8;
    m_isLion = release == 7;
    m_isSnow = !m_isMaverick && !m_isMouLion && !m_isLion;

    m_appChecked = false;
    m_scroller->hide();
    m_foundAppPaths.clear();
    m_foundAppPaths.reserve(8);
    m_choosenAppIndex = -1;
}

QString PathwardenPane::title() const
{
    return localized(PWTMsgKeyPanelTitle);
}

void PathwardenPane::willEnterPane(Direction direction)
{
    if (!m_appChecked) {
        m_progressIndicator->show();
        m_progressIndicator->startAnimation();
        m_messageText->setText(localized(PWTMsgKeyLookingForApp));
        setPreviousEnabled(false);
        setNextEnabled(false);
        if (!m_searchThread.joinable()) {
            const Bundle package = m_packageBundle;
            const SystemPaths paths = host() ? host()->systemPaths() : SystemPaths();
            try {
                m_searchThread = std::thread([this, package, paths] { checkForApplication(package, paths); });
                pthread_setname_np(m_searchThread.native_handle(), "Pathwarden find");
            } catch (const std::system_error &error) {
                // No thread, no search: the pane says nothing was found.
                SystemLog::log(QStringLiteral("Cannot start the installation search: %1")
                                   .arg(QString::fromLocal8Bit(error.what())));
                checkForApplicationEnded(InstallationSearchResult());
            }
        }
        return;
    }
    if (m_foundAppPaths.isEmpty()) {
        setNextEnabled(false);
    } else if (m_foundAppPaths.size() == 1 && mayGoOn()) {
        if (direction == Forward)
            gotoNextPane();
        else
            gotoPreviousPane();
    } else {
        // The installer turns Next on for every page; it stays off until the
        // script names the installation shown as chosen.
        setNextEnabled(mayGoOn());
    }
}

void PathwardenPane::didEnterPane(Direction)
{
}

void PathwardenPane::didExitPane(Direction)
{
}

bool PathwardenPane::isAppChecked() const
{
    return m_appChecked;
}

QStringList PathwardenPane::foundAppPaths() const
{
    return m_foundAppPaths;
}

Bundle PathwardenPane::packageBundle() const
{
    return m_packageBundle;
}

void PathwardenPane::checkForApplication(const Bundle &package, const SystemPaths &paths)
{
    // This thread only searches; the widgets are filled on the main thread.
    const InstallationSearchResult result = InstallationSearch::run(package, paths, &m_searchStopper);
    if (m_searchStopper.isStopped())
        return;
    QMetaObject::invokeMethod(
        this, [this, result] { checkForApplicationEnded(result); }, Qt::QueuedConnection);
}

void PathwardenPane::checkForApplicationEnded(const InstallationSearchResult &result)
{
    m_shellScriptName = result.rule.scriptName;
    m_foundAppPaths.clear();
    for (const InstallationCandidate &candidate : result.candidates)
        m_foundAppPaths.append(candidate.folder);
    if (!m_foundAppPaths.isEmpty() && !m_shellScriptName.isNull())
        fillList();

    if (isCurrentPane()) {
        setPreviousEnabled(true);
        setNextEnabled(!m_foundAppPaths.isEmpty() && mayGoOn());
    }
    m_progressIndicator->stopAnimation();
    m_progressIndicator->hide();
    m_scroller->setVisible(m_foundAppPaths.size() >= 2);
    m_appChecked = true;

    showOutcome();
    emit searchEnded();
}

void PathwardenPane::showOutcome()
{
    QString text;
    if (m_foundAppPaths.isEmpty()) {
        text = localized(PWTMsgKeyFailure);
    } else if (m_foundAppPaths.size() == 1) {
        // Found, but the package's scripts cannot learn the folder: saying it
        // will be installed would be false, and Continue is off.
        text = localized(mayGoOn() ? PWTMsgKeySuccess : PWTMsgKeyTargetNotRecorded) + QLatin1Char('\n')
               + localized(PWTMsgKeyFoundAppPath) + QLatin1Char(' ') + m_foundAppPaths.first();
    } else {
        // The list stays, so that another choice can still be recorded.
        text = localized(PWTMsgMoreThanOneAppFound);
        if (!mayGoOn())
            text.prepend(localized(PWTMsgKeyTargetNotRecorded) + QLatin1Char('\n'));
    }
    m_messageText->setText(text);
}

void PathwardenPane::fillList()
{
    for (int i = 0; i < m_foundAppPaths.size(); ++i) {
        if (i == m_radioGroup->numberOfRows()) {
            m_radioGroup->addRow();
            if (i == 0)
                connect(m_radioGroup, &RadioColumn::activated, this, &PathwardenPane::targetSelected,
                        Qt::UniqueConnection);
        }
        m_radioGroup->setCell(i, m_foundAppPaths.at(i), i);
    }
    m_radioGroup->setMinimumHeight(RadioColumn::heightForRows(m_radioGroup->numberOfRows()));
    m_scroller->verticalScrollBar()->setValue(0);

    m_choosenAppIndex = 0;
    m_radioGroup->selectCell(0);
    processSelectedTarget(0);
}

void PathwardenPane::targetSelected()
{
    if (auto *column = qobject_cast<RadioColumn *>(sender()))
        processSelectedTarget(column->selectedTag());
}

bool PathwardenPane::processSelectedTarget(qint64 index)
{
    if (index < 0 || index >= m_foundAppPaths.size())
        return false;
    QString error;
    m_targetRecorded = TargetScript::write(host() ? host()->systemPaths().scriptFolder : SystemPaths().scriptFolder,
                                           m_shellScriptName, m_foundAppPaths.at(int(index)), &error);
    if (!m_targetRecorded)
        SystemLog::log(error);
    if (m_appChecked) {
        showOutcome();
        if (isCurrentPane())
            setNextEnabled(m_targetRecorded);
    }
    return m_targetRecorded;
}

bool PathwardenPane::mayGoOn() const
{
    // A rule without a script name only checks that the application is
    // there; with one, the script must name the chosen installation.
    return m_shellScriptName.isNull() || m_targetRecorded;
}

QString PathwardenPane::localized(const QString &key) const
{
    return m_packageBundle.localizedString(key, key.toUpper(), PWTLocalizedStringsTableName);
}
