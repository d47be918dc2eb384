#include "InstallerWindow.h"

#include "InstallerHost.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

InstallerWindow::InstallerWindow(InstallerHost *host, QWidget *parent)
    : QWidget(parent)
    , m_host(host)
    , m_title(new QLabel(this))
    , m_pages(new QStackedWidget(this))
    , m_back(new QPushButton(tr("Go Back"), this))
    , m_continue(new QPushButton(tr("Continue"), this))
{
    setWindowTitle(tr("Install"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    for (int page = InstallerHost::IntroductionPage; page <= InstallerHost::InstallPage; ++page) {
        if (QWidget *view = host->pageContentView(page))
            m_pages->addWidget(view);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_back);
    buttons->addWidget(m_continue);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    resize(620, 440);

    connect(m_back, &QPushButton::clicked, host, &InstallerHost::goPrevious);
    connect(m_continue, &QPushButton::clicked, host, &InstallerHost::goNext);
    connect(host, &InstallerHost::pageChanged, this, &InstallerWindow::showPage);
    connect(host, &InstallerHost::buttonsChanged, this, &InstallerWindow::updateButtons);
    if (host->currentPage() >= 0)
        showPage(host->currentPage());
    updateButtons();
}

InstallerWindow::~InstallerWindow()
{
    while (m_pages->count() > 0) {
        QWidget *view = m_pages->widget(0);
        m_pages->removeWidget(view);
        view->hide();
        view->setParent(nullptr);
    }
}

QPushButton *InstallerWindow::backButton() const
{
    return m_back;
}

QPushButton *InstallerWindow::continueButton() const
{
    return m_continue;
}

void InstallerWindow::showPage(int page)
{
    m_title->setText(m_host->pageTitle(page));
    if (QWidget *view = m_host->pageContentView(page))
        m_pages->setCurrentWidget(view);
}

void InstallerWindow::updateButtons()
{
    m_back->setEnabled(m_host->isPreviousEnabled());
    m_continue->setEnabled(m_host->isNextEnabled());
}
