#include "InstallerHost.h"

#include <QLabel>

namespace {

QWidget *plainPage(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

InstallerHost::InstallerHost(const SystemPaths &paths, QObject *parent)
    : QObject(parent)
    , m_paths(paths)
    , m_introduction(plainPage(tr("This package installs the plug-in.")))
    , m_install(plainPage(tr("Ready to install.")))
{
}

InstallerHost::~InstallerHost()
{
    // The pane goes first: its search may still log through the host.
    m_pane.reset();
    delete m_introduction.data();
    delete m_install.data();
}

SystemPaths InstallerHost::systemPaths() const
{
    return m_paths;
}

void InstallerHost::setPane(std::unique_ptr<InstallerPane> pane)
{
    m_pane = std::move(pane);
}

InstallerPane *InstallerHost::pane() const
{
    return m_pane.get();
}

void InstallerHost::start()
{
    enterPage(IntroductionPage, InstallerPane::Forward);
}

int InstallerHost::currentPage() const
{
    return m_current;
}

QString InstallerHost::pageTitle(int page) const
{
    switch (page) {
    case IntroductionPage:
        return tr("Introduction");
    case PanePage:
        return m_pane ? m_pane->title() : QString();
    case InstallPage:
        return tr("Installation");
    default:
        return QString();
    }
}

QWidget *InstallerHost::pageContentView(int page) const
{
    switch (page) {
    case IntroductionPage:
        return m_introduction.data();
    case PanePage:
        return m_pane ? m_pane->contentView() : nullptr;
    case InstallPage:
        return m_install.data();
    default:
        return nullptr;
    }
}

bool InstallerHost::isPreviousEnabled() const
{
    return m_previousEnabled;
}

bool InstallerHost::isNextEnabled() const
{
    return m_nextEnabled;
}

bool InstallerHost::goNext()
{
    if (!m_nextEnabled || m_current >= InstallPage)
        return false;
    enterPage(m_current + 1, InstallerPane::Forward);
    return true;
}

bool InstallerHost::goPrevious()
{
    if (!m_previousEnabled || m_current <= IntroductionPage)
        return false;
    enterPage(m_current - 1, InstallerPane::Backward);
    return true;
}

QStringList InstallerHost::navigationLog() const
{
    return m_log;
}

void InstallerHost::setPreviousEnabled(bool enabled)
{
    if (m_previousEnabled == enabled)
        return;
    m_previousEnabled = enabled;
    emit buttonsChanged();
}

void InstallerHost::setNextEnabled(bool enabled)
{
    if (m_nextEnabled == enabled)
        return;
    m_nextEnabled = enabled;
    emit buttonsChanged();
}

bool InstallerHost::paneAsksToGo(InstallerPane *pane, InstallerPane::Direction direction)
{
    if (!pane || pane != m_pane.get())
        return false;
    if (m_insideWillEnter) {
        m_gotoPending = true;
        m_pendingDirection = direction;
        return true;
    }
    if (m_current != PanePage)
        return false;
    enterPage(direction == InstallerPane::Forward ? InstallPage : IntroductionPage, direction);
    return true;
}

void InstallerHost::enterPage(int page, InstallerPane::Direction direction)
{
    if (m_current == PanePage && m_pane) {
        m_pane->didExitPane(direction);
        record(QStringLiteral("pane exited ") + directionName(direction));
    }
    if (page == PanePage && !m_pane)
        page = direction == InstallerPane::Forward ? InstallPage : IntroductionPage;
    m_current = page;
    // Every page starts with both buttons on where there is somewhere to go.
    setPreviousEnabled(page > IntroductionPage);
    setNextEnabled(page < InstallPage);

    if (page != PanePage) {
        record(pageTitle(page) + QStringLiteral(" entered"));
        emit pageChanged(page);
        return;
    }
    record(QStringLiteral("pane will enter ") + directionName(direction));
    m_insideWillEnter = true;
    m_gotoPending = false;
    m_pane->willEnterPane(direction);
    m_insideWillEnter = false;
    if (m_gotoPending) {
        m_gotoPending = false;
        record(QStringLiteral("pane skipped ") + directionName(m_pendingDirection));
        m_current = -1;
        enterPage(m_pendingDirection == InstallerPane::Forward ? InstallPage : IntroductionPage, m_pendingDirection);
        return;
    }
    m_pane->didEnterPane(direction);
    record(QStringLiteral("pane entered ") + directionName(direction));
    emit pageChanged(page);
}

void InstallerHost::record(const QString &step)
{
    m_log.append(step);
}

QString InstallerHost::directionName(InstallerPane::Direction direction)
{
    return direction == InstallerPane::Forward ? QStringLiteral("forward") : QStringLiteral("backward");
}
