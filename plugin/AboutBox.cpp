#include "plugin/AboutBox.h"

#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

#include <algorithm>
#include <exception>

namespace Velmar {

const QSize AboutBox::s_fixedSize(680, 480);
const QString AboutBox::s_productVersion = QStringLiteral("4.0.0");

namespace {

// A one-line label in the given font, sized to its text.
QLabel *oneLineLabel(QWidget *parent, const QFont &font, const QString &text)
{
    auto *label = new QLabel(parent);
    label->setFont(font);
    label->setText(text);
    const QFontMetrics metrics(font);
    label->resize(metrics.horizontalAdvance(text), metrics.height());
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget *parent, const QString &engine)
    : QDialog(parent)
    , m_engine(engine)
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    auto text = [&collection](const QString &key) { return Localizer::getTextByKey(collection, key); };

    setAttribute(Qt::WA_NativeWindow);
    setWindowTitle(text(LocalizerKeys::KeyOfAboutBoxCaption));
    setWindowIcon(Global::getIcon());
    setWindowFlags((windowFlags() | Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint)
                   & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
    setWindowModality(Qt::ApplicationModal);
    setSizeGripEnabled(false);

    QFont dialogFont = Theme::normalFont(Theme::FontSizeNormal);
    dialogFont.setStyleStrategy(QFont::StyleStrategy(QFont::PreferQuality | QFont::PreferAntialias));
    setFont(dialogFont);

    m_logo = new QLabel(this);
    m_logo->setFrameShape(QFrame::NoFrame);
    m_logo->setPixmap(QPixmap::fromImage(Theme::getImageByKey(collection, Theme::KeyOfAboutBoxLogoImage, QSize(128, 64))));
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setFixedSize(128, 48);

    QFont mainFont(dialogFont.family(), dialogFont.pointSize() + 2, QFont::Bold, false);
    m_mainText = oneLineLabel(this, mainFont, text(LocalizerKeys::KeyOfAboutBoxMainText));
    m_copyrightText = oneLineLabel(this, dialogFont, text(LocalizerKeys::KeyOfAboutBoxCopyrightText));
    QFont versionFont(dialogFont.family(), std::max(1, dialogFont.pointSize() - 2));
    m_versionText = oneLineLabel(this, versionFont,
                                 QStringLiteral("%1 %2 (%3bit)")
                                     .arg(text(LocalizerKeys::KeyOfAboutBoxVersion), s_productVersion)
                                     .arg(QT_POINTER_SIZE * 8));

    m_licenseText = new QTextEdit(this);
    m_licenseText->setHtml(text(LocalizerKeys::KeyOfLicenseCopyright));
    m_licenseText->setReadOnly(true);

    m_qtLicenseButton = new QPushButton(text(LocalizerKeys::KeyOfAboutBoxQtLicenseButton), this);
    m_qtLicenseButton->setAutoDefault(false);
    m_closeButton = new QPushButton(text(LocalizerKeys::KeyOfAboutBoxCloseButton), this);
    m_closeButton->setAutoDefault(false);
    m_closeButton->setDefault(true);
    m_qtLicenseButton->adjustSize();
    m_closeButton->adjustSize();
    const int buttonWidth = std::max(m_qtLicenseButton->width(), m_closeButton->width()) + 6;
    m_qtLicenseButton->resize(buttonWidth, m_qtLicenseButton->height());
    m_closeButton->resize(buttonWidth, m_closeButton->height());

    m_background = new QWidget(this);
    m_background->setStyleSheet(QStringLiteral(
        "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0.5, y2:1, "
        "stop:0 rgba(238, 238, 238, 255), stop:1 rgba(218, 218, 218, 255));"));
    m_background->lower();

    setFixedSize(s_fixedSize);
    // Qt 6 has no desktop widget: the box goes on the screen of its parent.
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(positionOnScreen(screen->geometry()));

    connect(m_closeButton, SIGNAL(clicked()), this, SLOT(accept()));
    connect(m_qtLicenseButton, SIGNAL(clicked()), this, SLOT(onQtLicenseClicked()));
    layOut();
}

QPoint AboutBox::positionOnScreen(const QRect &screenGeometry)
{
    return QPoint(screenGeometry.x() + (screenGeometry.width() - s_fixedSize.width()) / 2,
                  screenGeometry.y() + screenGeometry.height() / 3);
}

void AboutBox::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // A failure while laying out leaves the box as it was.
    try {
        layOut();
    } catch (const std::exception &) {
    } catch (...) {
    }
}

void AboutBox::layOut()
{
    if (!m_background)
        return;
    const int width = this->width();
    const int height = this->height();
    m_background->setGeometry(0, 0, width, height);

    m_logo->move(16, 16);
    const int left = m_logo->width() + 32;
    m_mainText->move(left, 16);
    m_copyrightText->move(left, m_mainText->height() + 20);
    m_versionText->move(left, m_mainText->height() + m_copyrightText->height() + 24);

    m_qtLicenseButton->move(left, height - 16 - m_qtLicenseButton->height());
    m_closeButton->move(width - 16 - m_closeButton->width(), m_qtLicenseButton->y());

    const QPoint topLeft(left, m_versionText->geometry().bottom() + 4);
    const QPoint bottomRight(width - 17, height - 33 - m_qtLicenseButton->height());
    m_licenseText->setGeometry(QRect(topLeft, bottomRight));
}

void AboutBox::onQtLicenseClicked()
{
    QApplication::aboutQt();
}

} // namespace Velmar
