// The main widget's construction, layout, painting and wiring. Its browsing
// slots are in MainWidgetBrowsing.cpp, the task row, links, dialogs, watch
// and zoom in MainWidgetTasks.cpp, the nearest-colour pick in
// MainWidgetNearestColor.cpp, the reads ahead in MainWidgetReadAhead.cpp.

#include "plugin/MainWidget.h"

#include "database/DBManager.h"
#include "database/InterfaceIdleGate.h"
#include "plugin/CollectionReadAhead.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/MyPaletteFullWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/TaskButton.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/CardRollerWidget.h"
#include "views/ColorSchemerSarnexeWidget.h"
#include "views/ColorSchemerWidget.h"
#include "views/ColorWheelWidget.h"
#include "views/HuecastWidget.h"
#include "views/MoodSelectWidget.h"
#include "views/ProductsWidget.h"
#include "views/SearchWidget.h"
#include "views/TabBarWidget.h"
#include "views/TexturesWidget.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTemporaryFile>
#include <QTextDocumentFragment>
#include <QTimer>

namespace Velmar {

const QSize MainWidget::s_fixedSize(800, 600);

namespace {

const int s_headerHeight = 70;

// What a link label shows, without its markup.
QString shownTextOf(const QLabel *label)
{
    return QTextDocumentFragment::fromHtml(label->text()).toPlainText();
}

} // namespace

MainWidget::Layout MainWidget::layoutFor(const LayoutInput &input)
{
    const int w = input.size.width();
    const int h = input.size.height();
    Layout layout;
    layout.header = QRect(0, 0, w, s_headerHeight);
    layout.zoomedPalette = QRect(0, 0, w, h);

    layout.motto = QRect(12, 0, input.motto.width() + 1, input.motto.height() + 2);
    layout.motto.moveBottom(h - 8);
    layout.copyright = QRect(0, 0, input.copyright.width() + 1, input.copyright.height() + 2);
    layout.copyright.moveRight(w - 14);
    layout.copyright.moveBottom(h - 8);

    layout.chooser = QRect(QPoint(0, s_headerHeight + 1), input.chooser);
    const QRect &chooser = layout.chooser;
    layout.wheel = QRect(QPoint(chooser.left() + (chooser.width() - input.wheel.width()) / 2, chooser.bottom() + 10),
                         input.wheel);
    layout.moodStrip = QRect(
        QPoint(chooser.left() + (chooser.width() - input.moodStrip.width()) / 2, layout.wheel.bottom() + 10),
        input.moodStrip);
    layout.search = QRect(QPoint(12, h - 13 - input.lineHeight - input.search.height()), input.search);
    const int rollerTop = (input.moodVisible ? layout.moodStrip.bottom() : layout.wheel.bottom()) + 6;
    layout.cardRoller = QRect(QPoint(layout.search.left(), rollerTop),
                              QPoint(layout.search.right(), layout.search.top() - 7));

    layout.tabBar = QRect(QPoint(chooser.right() + 1, chooser.top()), QPoint(chooser.left() + w - 1, chooser.bottom()));
    layout.schemer = layout.tabBar.translated(1, layout.tabBar.height());
    layout.schemer.setSize(QSize(layout.tabBar.width(), 226));
    layout.myPalette = QRect(QPoint(layout.schemer.left(), layout.schemer.bottom() + 1),
                             QPoint(layout.schemer.right(), layout.cardRoller.bottom()));
    return layout;
}

MainWidget::MainWidget(MainWidget *&instance, QWidget *parent)
    : QWidget(parent)
{
    instance = this;
    Global::registerMetaTypes();
    setObjectName(QStringLiteral("MainWidget"));
    setAttribute(Qt::WA_MouseTracking);
    setFixedSize(s_fixedSize);
    setFocusPolicy(Qt::StrongFocus);
    setFont(Theme::normalFont(Theme::FontSizeNormal));

    m_fallbackButton = new TaskButton(this);
    m_fallbackButton->hide();
    registerTaskButton(1, -1);
    registerTaskButton(2, -1);
    registerTaskButton(3, -1);

    const QUuid collection = Settings::uuidOfLastUsedCollection();
    prepareForCollection(collection);

    // Children that fill their background show the main background under them.
    QPalette ownPalette = palette();
    const QBrush background(QPixmap::fromImage(m_backgroundImage));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        ownPalette.setBrush(group, QPalette::Window, background);
        ownPalette.setBrush(group, QPalette::Base, background);
    }
    setPalette(ownPalette);

    m_collectionChooser = new CollectionSelectWidget(this);
    m_colorWheel = new ColorWheelWidget(this);
    m_moodStrip = new MoodSelectWidget(this);
    m_searchField = new SearchWidget(this);
    m_cardRoller = new CardRollerWidget(this);
    m_tabBar = new TabBarWidget(this);
    m_colorSchemer = new ColorSchemerWidget(this);
    m_colorSchemer->hide();
    m_sarnexSchemer = new ColorSchemerSarnexeWidget(this);
    m_sarnexSchemer->hide();
    m_huecast = new HuecastWidget(this);
    m_huecast->hide();
    m_textures = new TexturesWidget(this);
    m_textures->hide();
    m_products = new ProductsWidget(this);
    m_products->hide();
    m_myPalette = new MyPaletteWidget(this);
    m_myPaletteFull = new MyPaletteFullWidget(this);
    m_myPaletteFull->hide();
    m_zoomAnimation = new QPropertyAnimation(m_myPaletteFull, "pos", this);

    updateTaskButtonTexts(collection);
    connectChecked(taskButton(1), SIGNAL(clicked()), this, SLOT(saveButtonClicked()));
    connectChecked(taskButton(2), SIGNAL(clicked()), this, SLOT(loadButtonClicked()));
    connectChecked(taskButton(3), SIGNAL(clicked()), this, SLOT(helpButtonClicked()));

    m_copyrightLabel = new QLabel(this);
    m_mottoLabel = new QLabel(this);
    for (QLabel *label : {m_copyrightLabel, m_mottoLabel}) {
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        label->setOpenExternalLinks(false);
        label->setFont(Theme::normalFont(Theme::FontSizeSmaller));
    }
    updateLinkTexts(collection);

    m_paletteFileDialog = new QFileDialog(this);
    m_paletteFilter = QStringLiteral("%1 (*.palette)")
                          .arg(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfCommonFiledialogPalettefileFiltername));
    m_textFilter = QStringLiteral("%1 (*.txt)")
                       .arg(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfCommonFiledialogTextfileFiltername));

    recalculateLayout();
    displayTabPageFor(Settings::tabPage(collection));
    // A colour dragged towards the roller or My palette may be dropped.
    m_cardRoller->installEventFilter(this);
    m_myPalette->installEventFilter(this);

    m_dizevizWatcher = new QFileSystemWatcher(this);
    m_dizevizWatcher->blockSignals(true);
    prepareDizevizWatcher();

    makeConnections();
    // The chooser shows or hides its Dizeviz button from the start.
    emit onDizevizFileChanged(m_dizevizFile);
}

MainWidget::~MainWidget()
{
    if (Global::g_mainWidget == this)
        Global::g_mainWidget = nullptr;
    // The children go after this part of the object; what they or the
    // application report while they go must not reach its slots.
    if (qApp)
        disconnect(qApp, nullptr, this, nullptr);
    for (QObject *child : children())
        disconnect(child, nullptr, this, nullptr);
    // No thread outlives the picker: all are asked to stop at once, then
    // each is waited for (those that let lists go do so now). They run at
    // the interface's priority: nothing keeps them from ending.
    const QList<CollectionReadAhead *> readers = findChildren<CollectionReadAhead *>(Qt::FindDirectChildrenOnly);
    for (CollectionReadAhead *reader : readers)
        reader->cancel();
    const QList<QThread *> threads = findChildren<QThread *>(Qt::FindDirectChildrenOnly);
    for (QThread *thread : threads)
        InterfaceIdleGate::stop(thread);
    for (QThread *thread : threads)
        thread->wait();
    qDeleteAll(findChildren<QThread *>(Qt::FindDirectChildrenOnly));
    m_readAhead = nullptr;
    m_suggestionReader = nullptr;
    // The files stay for the browser that may still be reading them.
    for (QTemporaryFile *file : qAsConst(m_linkFiles)) {
        file->setAutoRemove(false);
        delete file;
    }
}

QSize MainWidget::sizeHint() const
{
    return s_fixedSize;
}

QSize MainWidget::minimumSizeHint() const
{
    return s_fixedSize;
}

bool MainWidget::connectChecked(const QObject *sender, const char *signal, const QObject *receiver, const char *method)
{
    ++m_connectionCount;
    if (sender && receiver && connect(sender, signal, receiver, method))
        return true;
    // SIGNAL() and SLOT() put a digit before the signature.
    const QString description = QStringLiteral("%1 %2 -> %3 %4")
                                    .arg(QLatin1String(sender ? sender->metaObject()->className() : "(none)"),
                                         QLatin1String(signal ? signal + 1 : ""),
                                         QLatin1String(receiver ? receiver->metaObject()->className() : "(none)"),
                                         QLatin1String(method ? method + 1 : ""));
    m_failedConnections.append(description);
    qWarning("MainWidget: connection failed: %s", qPrintable(description));
    return false;
}

void MainWidget::makeConnections()
{
    connectChecked(m_collectionChooser, SIGNAL(collectionSelectedInteractively(QUuid)), this,
                   SLOT(collectionChangedInteractively(QUuid)));
    connectChecked(this, SIGNAL(onDizevizFileChanged(QString)), m_collectionChooser, SLOT(dizevizFileChanged(QString)));
    connectChecked(m_colorWheel, SIGNAL(segmentChangedInteractively(int)), this,
                   SLOT(segmentChangedInteractivelyByWheel(int)));
    connectChecked(m_moodStrip, SIGNAL(moodFilterChangedInteractively(Mood)), this,
                   SLOT(moodFilterChangedInteractively(Mood)));
    connectChecked(m_moodStrip, SIGNAL(exteriorFilterChangedInteractively(bool)), this,
                   SLOT(exteriorFilterChangedInteractively(bool)));
    connectChecked(m_moodStrip, SIGNAL(showMtoChangedInteractively(bool)), this,
                   SLOT(showMtoChangedInteractively(bool)));
    connectChecked(m_cardRoller, SIGNAL(roll(Direction)), this, SLOT(rollCards(Direction)));
    connectChecked(m_cardRoller, SIGNAL(pageChangedInteractively(int)), this, SLOT(pageChangedInteractively(int)));
    connectChecked(m_cardRoller, SIGNAL(rowChangedInteractively(int)), this, SLOT(rowChangedInteractively(int)));
    connectChecked(m_cardRoller, SIGNAL(collectionSelectedInteractively(QUuid)), this,
                   SLOT(collectionChangedInteractively(QUuid)));
    connectChecked(m_searchField, SIGNAL(roll(Direction)), this, SLOT(rollCards(Direction)));
    connectChecked(m_searchField, SIGNAL(searchForPhrase(QString)), this, SLOT(searchForPhrase(QString)));
    connectChecked(m_searchField, SIGNAL(searchStarted(QUuid)), this, SLOT(searchStarted(QUuid)));
    connectChecked(m_searchField, SIGNAL(suggestionsWanted(QUuid)), this, SLOT(searchSuggestionsWanted(QUuid)));
    connectChecked(m_tabBar, SIGNAL(tabPageSelected(TabBarPage)), this, SLOT(tabPageSelected(TabBarPage)));
    connectChecked(m_colorSchemer, SIGNAL(schemeKindChangedInteractively(SchemeKind)), this,
                   SLOT(schemeKindChangedInteractively(SchemeKind)));
    connectChecked(m_colorSchemer, SIGNAL(schemeNeutralSubKindChangedInteractively(SchemeKind)), this,
                   SLOT(schemeNeutralSubKindChangedInteractively(SchemeKind)));
    connectChecked(this, SIGNAL(savePaletteTo(PaletteFileFormat,QString)), m_myPalette,
                   SLOT(savePaletteTo(PaletteFileFormat,QString)));
    connectChecked(this, SIGNAL(loadPaletteFrom(PaletteFileFormat,QString)), m_myPalette,
                   SLOT(loadPaletteFrom(PaletteFileFormat,QString)));
    connectChecked(m_myPalette, SIGNAL(myPaletteChanged()), this, SLOT(onMyPaletteChanged()));
    connectChecked(m_myPalette, SIGNAL(myPaletteSelectionChanged()), this, SLOT(onMyPaletteSelectionChanged()));
    connectChecked(m_myPalette, SIGNAL(zoomMyPaletteClicked()), this, SLOT(zoomMyPaletteClicked()));
    connectChecked(m_myPaletteFull, SIGNAL(backButtonClicked()), this, SLOT(unzoomMyPaletteClicked()));
    // Every view but the zoomed palette reloads on a collection switch.
    const QList<QObject *> followers{m_collectionChooser, m_colorWheel, m_moodStrip,    m_cardRoller,
                                     m_searchField,       m_tabBar,     m_colorSchemer, m_sarnexSchemer,
                                     m_huecast,           m_textures,   m_products,     m_myPalette};
    for (QObject *follower : followers)
        connectChecked(this, SIGNAL(selectedCollectionChanged(QUuid)), follower, SLOT(selectedCollectionChanged(QUuid)));
    connectChecked(m_collectionChooser, SIGNAL(dizevizItemSelectedInteractively(QUuid,DB::ColorEntry)), this,
                   SLOT(dizevizItemSelectedInteractively(QUuid,DB::ColorEntry)));
    connectChecked(m_copyrightLabel, SIGNAL(linkActivated(QString)), this, SLOT(linkActivated(QString)));
    connectChecked(m_mottoLabel, SIGNAL(linkActivated(QString)), this, SLOT(linkActivated(QString)));
    connectChecked(qApp, SIGNAL(focusChanged(QWidget*,QWidget*)), this, SLOT(onKeyboardFocusChanged(QWidget*,QWidget*)));
}

void MainWidget::prepareForCollection(const QUuid &collection)
{
    // The system-wide background is the same for every collection: decoded
    // once for the widget's size.
    if (m_backgroundImage.isNull() || m_backgroundRequestSize != size()) {
        m_backgroundRequestSize = size();
        m_backgroundImage = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, size());
    }
    m_headerImage = Theme::getImageByKey(collection, Theme::KeyOfHeaderImage, QSize(width(), s_headerHeight));
    m_headerLink = CollectionSettings::headerLink(collection);

    if (Settings::tabPage(collection) == TabBarPageNone) {
        const TabBarPages available = CollectionSettings::availableTabBarPages(collection);
        const QVector<TabBarPage> order = CollectionSettings::tabBarPagesOrder(collection);
        for (TabBarPage page : order) {
            if (available.testFlag(page)) {
                Settings::setTabPage(collection, page);
                break;
            }
        }
    }
    if (Settings::schemeKind(collection) == SchemeNone) {
        const QVector<SchemeKind> schemes = CollectionSettings::schemesOrder(collection);
        Settings::setSchemeKind(collection, schemes.isEmpty() ? SchemeNone : schemes.first());
    }

    if (m_copyrightLabel && m_mottoLabel)
        updateLinkTexts(collection);

    m_matchTable.clear();
    m_matchTableCollection = collection;
    m_matchTableRead = false;
    m_matchTableWanted = false;
    // The next paint starts the reads ahead for this collection.
    retireReadAhead();
    m_readAheadPending = true;

    m_dizevizFolder.clear();
    m_dizevizFile.clear();
    if (CollectionSettings::dizevizAvailable(collection)) {
        m_dizevizFolder = CollectionSettings::dizevizWatchFolder(collection);
        m_dizevizFile = m_dizevizFolder + QDir::separator() + CollectionSettings::dizevizWatchFileName(collection);
    }
}

void MainWidget::updateTaskButtonTexts(const QUuid &collection)
{
    if (m_taskButtons.contains(1))
        m_taskButtons.value(1)->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMypalettePaletteSave));
    if (m_taskButtons.contains(2))
        m_taskButtons.value(2)->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMypalettePaletteLoad));
}

void MainWidget::updateLinkTexts(const QUuid &collection)
{
    buildDecoratedLinkTextFor(m_copyrightLabel, QStringLiteral("links/copyright"),
                              Localizer::getTextByKey(collection, LocalizerKeys::KeyOfColorPaletteCopyright));
    buildDecoratedLinkTextFor(m_mottoLabel, QStringLiteral("links/motto"),
                              Localizer::getTextByKey(collection, LocalizerKeys::KeyOfColorPaletteMotto));
}

void MainWidget::recalculateLayout()
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const bool moodVisible = CollectionSettings::moodVisible(collection);
    m_moodStrip->setVisible(moodVisible);

    LayoutInput input;
    input.size = size();
    input.moodVisible = moodVisible;
    input.chooser = m_collectionChooser->size();
    input.wheel = m_colorWheel->size();
    m_moodStrip->recalculateUiLayout();
    input.moodStrip = m_moodStrip->sizeHint();
    input.search = m_searchField->size();
    const QFontMetrics metrics(m_copyrightLabel->font());
    input.motto = metrics.size(Qt::TextSingleLine, shownTextOf(m_mottoLabel));
    input.copyright = metrics.size(Qt::TextSingleLine, shownTextOf(m_copyrightLabel));
    input.lineHeight = metrics.height();
    const Layout layout = layoutFor(input);

    m_headerBand = layout.header;
    m_searchRect = layout.search;
    m_myPaletteFull->setGeometry(layout.zoomedPalette);
    m_mottoLabel->setGeometry(layout.motto);
    m_copyrightLabel->setGeometry(layout.copyright);
    m_collectionChooser->move(layout.chooser.topLeft());
    m_colorWheel->move(layout.wheel.topLeft());
    m_moodStrip->setGeometry(layout.moodStrip);
    m_searchField->move(layout.search.topLeft());
    m_cardRoller->setGeometry(layout.cardRoller);
    m_tabBar->setGeometry(layout.tabBar);
    m_colorSchemer->setGeometry(layout.schemer);
    m_sarnexSchemer->setGeometry(layout.schemer);
    m_huecast->setGeometry(layout.schemer);
    m_textures->setGeometry(layout.schemer);
    m_products->setGeometry(layout.schemer);
    m_myPalette->setGeometry(layout.myPalette);
    // The field blends into the window.
    m_searchField->setBackgroundImage(m_backgroundImage.copy(m_searchField->geometry()));
    recalculateTaskButtonsLayout();
}

void MainWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawImage(0, 0, m_backgroundImage);
    if (!m_headerImage.isNull())
        painter.drawImage((width() - m_headerImage.width()) / 2, (s_headerHeight - m_headerImage.height()) / 2,
                          m_headerImage);
    // The line between the chooser's column and the tab pages.
    const QRect chooser = m_collectionChooser->geometry();
    painter.setPen(QColor(188, 188, 188));
    painter.drawLine(chooser.right() + 1, chooser.top(), chooser.right() + 1, height());

    if (m_readAheadPending && !m_readAheadPosted) {
        m_readAheadPosted = true;
        // Once this paint is done, so that the reads take none of its time.
        QTimer::singleShot(0, this, SLOT(startReadAhead()));
    }
}

void MainWidget::mouseMoveEvent(QMouseEvent *event)
{
    const bool onLink = !m_headerLink.isEmpty() && m_headerBand.contains(event->position().toPoint());
    setCursor(onLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MainWidget::mousePressEvent(QMouseEvent *event)
{
    if (!m_headerLink.isEmpty() && m_headerBand.contains(event->position().toPoint()))
        linkActivated(QStringLiteral("links/header"));
}

void MainWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The children exist only once the constructor has made them.
    if (m_myPalette)
        recalculateLayout();
}

void MainWidget::onKeyboardFocusChanged(QWidget *old, QWidget *now)
{
    Q_UNUSED(old)
    const bool editBox = now
        && ((m_searchField && now == static_cast<QWidget *>(m_searchField->textField()))
            || (m_myPalette && now == static_cast<QWidget *>(m_myPalette->descriptionField())));
    if (editBox)
        emit anEditBoxGotFocus();
    else
        emit anEditBoxLostFocus();
}

void MainWidget::onMyPaletteChanged()
{
    emit myPaletteChanged();
}

void MainWidget::onMyPaletteSelectionChanged()
{
    emit myPaletteSelectionChanged();
}

} // namespace Velmar
