#ifndef VELMAR_MAINWIDGET_H
#define VELMAR_MAINWIDGET_H

#include "database/ColorEntry.h"
#include "database/ColorMatchEntry.h"
#include "plugin/CollectionReadAhead.h"
#include "inc/VelmarTypes.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPair>
#include <QRect>
#include <QSharedPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVector>
#include <QWidget>

class QFileDialog;
class QFileSystemWatcher;
class QLabel;
class QPropertyAnimation;
class QTemporaryFile;

namespace Velmar {

class CardRollerWidget;
class CollectionSelectWidget;
class ColorSchemerSarnexeWidget;
class ColorSchemerWidget;
class ColorWheelWidget;
class HuecastWidget;
class MoodSelectWidget;
class MyPaletteFullWidget;
class MyPaletteWidget;
class ProductsWidget;
class SearchWidget;
class TabBarWidget;
class TaskButton;
class TexturesWidget;

// The fixed 800 by 600 widget that fills the picker dialog. It owns every
// view, lays them out, and is the one place that writes the browsing state:
// the views report what the user did through signals, and its slots store
// the new state, find the card that follows and tell the views that depend
// on it to repaint. It also owns the row of task buttons, the links, the
// palette file dialog, the watch on the collection's Dizeviz folder and the
// colour table of the current collection that nearest-colour matching
// searches.
class MainWidget : public QWidget
{
    Q_OBJECT

public:
    static const QSize s_fixedSize;

    // What the layout measures: the widget's size, the current sizes of the
    // children that keep theirs, the one-line sizes of the two link texts and
    // the line height of their font.
    struct LayoutInput {
        QSize size;
        bool moodVisible = true;
        QSize chooser;
        QSize wheel;
        QSize moodStrip; // its size hint, after its own layout
        QSize search;
        QSize motto;
        QSize copyright;
        int lineHeight = 0;
    };
    struct Layout {
        QRect header;
        QRect zoomedPalette;
        QRect motto;
        QRect copyright;
        QRect chooser;
        QRect wheel;
        QRect moodStrip;
        QRect search;
        QRect cardRoller;
        QRect tabBar;
        QRect schemer; // also the place of the other tab pages
        QRect myPalette;
    };
    static Layout layoutFor(const LayoutInput &input);

    // The task row: the band inside the search field's height between My
    // palette's edges, and one rectangle per id of the order. Ids 3 (help)
    // and 4 (about) are round and get a square.
    static QRect taskButtonBand(const QRect &search, const QRect &myPalette);
    static QVector<QRect> taskButtonRects(const QRect &band, const QList<unsigned short> &order);

    // Writes itself into instance before any child exists, so that children
    // built here already find it through Global::g_mainWidget.
    MainWidget(MainWidget *&instance, QWidget *parent = nullptr);
    // Clears Global::g_mainWidget, so nothing reaches a destroyed widget.
    ~MainWidget() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Reloads what depends on the collection: background, banner, header
    // link, first tab page and scheme, link texts, colour table, Dizeviz folder.
    void prepareForCollection(const QUuid &collection);
    void recalculateLayout();
    // Shows the tab page (1 colour schemes, 2 products, 4 trend colours,
    // 8 textures) and hides the others.
    void displayTabPageFor(TabBarPage page);

    // Moves the card roller to the chip of the current collection that matches
    // the colour best: an exact chip, else the nearest by CIEDE2000, offering a
    // choice when several stay near. Transparent and invalid colours do nothing.
    void pickNearestColor(const QColor &color);

    // The colour the picker matches once it has shown: its nearest chips
    // are looked for ahead, while the picker waits to match it.
    void readAheadNearestColor(const QColor &color);

    // L, a, b and row id of every chip of the current collection, read on
    // first use after each collection change: only a colour to match needs
    // them, and a big deck has a hundred thousand. Read ahead once the
    // collection has shown when there is a colour to match, or once a drop
    // may follow: the trend colours shown, a drag entering the roller or My
    // palette.
    const QVector<ColorMatchEntry> &matchTable() const;
    // The reads of the current collection under way on a thread of their
    // own, or null; for tests.
    CollectionReadAhead *readAhead() const { return m_readAhead; }
    // The whole list of suggestions of the current collection read on a
    // thread of its own once the search field is used, or null; for tests.
    CollectionReadAhead *suggestionReader() const { return m_suggestionReader; }

    // The task row. Ids: 1 save palette, 2 load palette, 3 help, 4 about,
    // 1000 and up for buttons of the picker dialog. The id goes right after
    // afterId when that is registered, else at the end.
    unsigned short registerTaskButton(unsigned short id, short afterId);
    // The next free id from 1000 up.
    unsigned short registerTaskButton(short afterId);
    unsigned short registerAboutTaskButton();
    // Never null: an id that is not registered gives a hidden button.
    TaskButton *taskButton(unsigned short id) const;
    QList<unsigned short> taskButtonOrder() const { return m_taskButtonOrder; }
    void recalculateTaskButtonsLayout();

    // Sets the label's text to a white link without underline.
    static void buildDecoratedLinkTextFor(QLabel *label, const QString &link, const QString &text);
    // Watches the Dizeviz folder and file of the current collection, or
    // nothing when it has none.
    void prepareDizevizWatcher();

    // The children, for the picker dialog and for tests.
    CollectionSelectWidget *collectionChooser() const { return m_collectionChooser; }
    ColorWheelWidget *colorWheel() const { return m_colorWheel; }
    MoodSelectWidget *moodStrip() const { return m_moodStrip; }
    CardRollerWidget *cardRoller() const { return m_cardRoller; }
    SearchWidget *searchField() const { return m_searchField; }
    TabBarWidget *tabBar() const { return m_tabBar; }
    ColorSchemerWidget *colorSchemer() const { return m_colorSchemer; }
    ColorSchemerSarnexeWidget *sarnexSchemer() const { return m_sarnexSchemer; }
    HuecastWidget *huecast() const { return m_huecast; }
    TexturesWidget *textures() const { return m_textures; }
    ProductsWidget *products() const { return m_products; }
    MyPaletteWidget *myPalette() const { return m_myPalette; }
    MyPaletteFullWidget *myPaletteFull() const { return m_myPaletteFull; }
    QPropertyAnimation *zoomAnimation() const { return m_zoomAnimation; }
    QLabel *copyrightLabel() const { return m_copyrightLabel; }
    QLabel *mottoLabel() const { return m_mottoLabel; }
    QFileDialog *paletteFileDialog() const { return m_paletteFileDialog; }
    QFileSystemWatcher *dizevizWatcher() const { return m_dizevizWatcher; }
    QString dizevizFolder() const { return m_dizevizFolder; }
    QString dizevizFile() const { return m_dizevizFile; }
    QString paletteFilter() const { return m_paletteFilter; }
    QString textFilter() const { return m_textFilter; }
    QRect headerBand() const { return m_headerBand; }
    QString headerLink() const { return m_headerLink; }
    QImage headerImage() const { return m_headerImage; }
    // The temporary HTML file of a link key, or null before its first use.
    QTemporaryFile *linkFile(const QString &link) const { return m_linkFiles.value(link); }

    // The signal-slot connections the constructor made, and those that failed
    // (sender signal -> receiver slot); a failed one is a fault of the build.
    int connectionCount() const { return m_connectionCount; }
    QStringList failedConnections() const { return m_failedConnections; }

signals:
    void selectedCollectionChanged(QUuid collectionId);
    void savePaletteTo(PaletteFileFormat fileFormat, QString path);
    void loadPaletteFrom(PaletteFileFormat expectedFileFormat, QString path);
    void onDizevizFileChanged(QString path);
    void myPaletteChanged();
    void myPaletteSelectionChanged();
    void anEditBoxGotFocus();
    void anEditBoxLostFocus();

protected slots:
    void onMyPaletteChanged();
    void onMyPaletteSelectionChanged();
    void collectionChangedInteractively(QUuid collection);
    void segmentChangedInteractivelyByWheel(int newSegment);
    void moodFilterChangedInteractively(Mood newMood);
    void exteriorFilterChangedInteractively(bool exteriorFilter);
    void showMtoChangedInteractively(bool newValue);
    void rollCards(Direction dir);
    void pageChangedInteractively(int newPage);
    void rowChangedInteractively(int newRow);
    void searchForPhrase(QString phrase);
    void tabPageSelected(TabBarPage newPage);
    void schemeKindChangedInteractively(SchemeKind scheme);
    void schemeNeutralSubKindChangedInteractively(SchemeKind scheme);
    void saveButtonClicked();
    void loadButtonClicked();
    void helpButtonClicked();
    void fileDialogFinished(int button);
    void paletteFilterSelected(QString filter);
    void dizevizDirectoryChanged(QString path);
    void dizevizFileChanged(QString path);
    void dizevizItemSelectedInteractively(QUuid collectionId, DB::ColorEntry colorEntry);
    void linkActivated(QString link);
    void zoomMyPaletteClicked();
    void unzoomMyPaletteClicked();
    void unzoomMyPaletteAnimationFinished();
    void onKeyboardFocusChanged(QWidget *old, QWidget *now);
    void startReadAhead();
    void readAheadSuggestionsRead();
    void readAheadFinished();
    void searchStarted(QUuid collection);
    void startSuggestionReader(QUuid collection);
    void searchSuggestionsWanted(QUuid collection);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // How many chips the pick offers at most.
    static constexpr int s_nearestCandidates = 6;

    static QString proposedPalettePath(const QUuid &collection);
    // One text-signature connection, counted, and recorded when it fails.
    bool connectChecked(const QObject *sender, const char *signal, const QObject *receiver, const char *method);
    void makeConnections();
    void updateTaskButtonTexts(const QUuid &collection);
    void updateLinkTexts(const QUuid &collection);

    // The views that depend on the selected card and row.
    void refreshSchemer();
    void refreshProducts();
    void refreshTexturesForPage();
    void refreshTexturesForRow();
    void refreshAfterCardChange();
    void updateCardSelectionIfNecessaryAfterFilterChanges();
    // Moves the roller to a chip: its card (and that card's segment), then its row.
    void selectColorEntry(const QUuid &collection, const DB::ColorEntry &entry);

    // The reads ahead of the collection shown before stop; the threads go
    // once they have ended.
    void retireReadAhead();
    void retire(CollectionReadAhead *&thread);
    // The suggestions of the collection shown before are let go of on a
    // thread of their own, once the search field has let go of them too.
    void releaseSuggestions();
    void offerSuggestions(const QUuid &collection, const QSharedPointer<const SuggestionList> &suggestions);
    // The read-ahead of the collection, when it reads for the current state.
    CollectionReadAhead *readAheadFor(const QUuid &collection) const;
    CollectionReadAhead *suggestionReaderFor(const QUuid &collection) const;
    CollectionReadAhead *start(const CollectionReadAhead::Request &request);
    // A drop may follow: the match table is read ahead, once the collection
    // has painted, unless it is read or being read.
    void readMatchTableAhead();

    QImage m_backgroundImage;
    QSize m_backgroundRequestSize;
    QImage m_headerImage;
    QRect m_headerBand;
    QString m_headerLink;
    QHash<QString, QTemporaryFile *> m_linkFiles;
    mutable QVector<ColorMatchEntry> m_matchTable;
    QUuid m_matchTableCollection;
    mutable bool m_matchTableRead = false;
    bool m_matchTableWanted = false;
    // The thread that reads ahead for the current collection, started once
    // the widget has painted the collection, so that it takes no time from
    // that paint.
    CollectionReadAhead *m_readAhead = nullptr;
    bool m_readAheadPending = false;
    bool m_readAheadPosted = false;
    QColor m_readAheadColor;
    // The whole list of suggestions, read only once the search field is
    // used: most showings of a deck never ask for it.
    CollectionReadAhead *m_suggestionReader = nullptr;
    QSharedPointer<const SuggestionList> m_offeredSuggestions;
    QVector<SuggestionList> m_releasedSuggestions;
    CollectionSelectWidget *m_collectionChooser = nullptr;
    ColorWheelWidget *m_colorWheel = nullptr;
    MoodSelectWidget *m_moodStrip = nullptr;
    CardRollerWidget *m_cardRoller = nullptr;
    SearchWidget *m_searchField = nullptr;
    TabBarWidget *m_tabBar = nullptr;
    ColorSchemerWidget *m_colorSchemer = nullptr;
    ColorSchemerSarnexeWidget *m_sarnexSchemer = nullptr;
    HuecastWidget *m_huecast = nullptr;
    TexturesWidget *m_textures = nullptr;
    ProductsWidget *m_products = nullptr;
    MyPaletteWidget *m_myPalette = nullptr;
    MyPaletteFullWidget *m_myPaletteFull = nullptr;
    QPropertyAnimation *m_zoomAnimation = nullptr;
    TaskButton *m_fallbackButton = nullptr;
    QHash<unsigned short, TaskButton *> m_taskButtons;
    QList<unsigned short> m_taskButtonOrder;
    QLabel *m_copyrightLabel = nullptr;
    QLabel *m_mottoLabel = nullptr;
    QFileSystemWatcher *m_dizevizWatcher = nullptr;
    QString m_dizevizFolder;
    QString m_dizevizFile;
    QFileDialog *m_paletteFileDialog = nullptr;
    QString m_paletteFilter;
    QString m_textFilter;
    // Where the search field sits; the task row shares its height.
    QRect m_searchRect;
    int m_connectionCount = 0;
    QStringList m_failedConnections;
};

} // namespace Velmar

#endif // VELMAR_MAINWIDGET_H
