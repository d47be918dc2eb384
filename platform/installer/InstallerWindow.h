#ifndef PATHWARDEN_INSTALLERWINDOW_H
#define PATHWARDEN_INSTALLERWINDOW_H

#include <QWidget>

class InstallerHost;
class QLabel;
class QPushButton;
class QStackedWidget;

// The installer's window: the current page's title and content with Back
// and Continue, which follow the host's button states.
class InstallerWindow : public QWidget
{
    Q_OBJECT

public:
    explicit InstallerWindow(InstallerHost *host, QWidget *parent = nullptr);
    // Hands the pages' views back to their owners.
    ~InstallerWindow() override;

    QPushButton *backButton() const;
    QPushButton *continueButton() const;

private:
    void showPage(int page);
    void updateButtons();

    InstallerHost *m_host;
    QLabel *m_title;
    QStackedWidget *m_pages;
    QPushButton *m_back;
    QPushButton *m_continue;
};

#endif // PATHWARDEN_INSTALLERWINDOW_H
