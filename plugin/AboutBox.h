#ifndef VELMAR_ABOUTBOX_H
#define VELMAR_ABOUTBOX_H

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;
class QPushButton;
class QTextEdit;

namespace Velmar {

// The dialog of the host's about selector: logo, texts and licence of the
// last used collection, the product version, and buttons for the toolkit's
// own about box and for closing.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    static const QSize s_fixedSize;
    static const QString s_productVersion;

    AboutBox(QWidget *parent, const QString &engine);

    QString engine() const { return m_engine; }

    // Where the box goes on a screen of that geometry: centred across, a
    // third of the way down.
    static QPoint positionOnScreen(const QRect &screenGeometry);

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void onQtLicenseClicked();

private:
    void layOut();

    QWidget *m_background = nullptr;
    QLabel *m_logo = nullptr;
    QLabel *m_mainText = nullptr;
    QLabel *m_copyrightText = nullptr;
    QLabel *m_versionText = nullptr;
    QTextEdit *m_licenseText = nullptr;
    QPushButton *m_qtLicenseButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QString m_engine;
};

} // namespace Velmar

#endif // VELMAR_ABOUTBOX_H
