#include "InstallerPane.h"

#include "InstallerHost.h"

#include <QWidget>

InstallerPane::InstallerPane(InstallerHost *host)
    : m_host(host)
    , m_contentView(new QWidget)
{
}

InstallerPane::~InstallerPane()
{
    delete m_contentView.data();
}

InstallerHost *InstallerPane::host() const
{
    return m_host;
}

bool InstallerPane::isCurrentPane() const
{
    return m_host && m_host->pane() == this && m_host->currentPage() == InstallerHost::PanePage;
}

QWidget *InstallerPane::contentView() const
{
    return m_contentView.data();
}

QString InstallerPane::title() const
{
    return QString();
}

void InstallerPane::willEnterPane(Direction)
{
}

void InstallerPane::didEnterPane(Direction)
{
}

void InstallerPane::didExitPane(Direction)
{
}

void InstallerPane::setPreviousEnabled(bool enabled)
{
    if (m_host)
        m_host->setPreviousEnabled(enabled);
}

void InstallerPane::setNextEnabled(bool enabled)
{
    if (m_host)
        m_host->setNextEnabled(enabled);
}

bool InstallerPane::gotoNextPane()
{
    return m_host && m_host->paneAsksToGo(this, Forward);
}

bool InstallerPane::gotoPreviousPane()
{
    return m_host && m_host->paneAsksToGo(this, Backward);
}
