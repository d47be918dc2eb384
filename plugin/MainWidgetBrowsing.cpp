// The browsing requests of the main widget: each slot stores what the user
// asked for under the current collection, finds the card that follows and
// repaints the views that depend on it.

#include "plugin/MainWidget.h"

#include "database/DBManager.h"
#include "services/CollectionSettings.h"
#include "services/Settings.h"
#include "views/CardRollerWidget.h"
#include "views/ColorSchemerSarnexeWidget.h"
#include "views/ColorSchemerWidget.h"
#include "views/ColorWheelWidget.h"
#include "views/HuecastWidget.h"
#include "views/MoodSelectWidget.h"
#include "views/ProductsWidget.h"
#include "views/TabBarWidget.h"
#include "views/TexturesWidget.h"

namespace Velmar {

namespace {

const int s_normalCardType = 1;
const int s_sarnexCardType = 2;

} // namespace

void MainWidget::refreshSchemer()
{
    const int cardType = CollectionSettings::cardType(Settings::uuidOfLastUsedCollection());
    if (cardType == s_sarnexCardType && m_sarnexSchemer->isVisible())
        m_sarnexSchemer->update();
    else if (cardType == s_normalCardType && m_colorSchemer->isVisible())
        m_colorSchemer->update();
}

void MainWidget::refreshProducts()
{
    if (m_products->isVisible())
        m_products->selectedColorChanged();
}

void MainWidget::refreshTexturesForPage()
{
    if (m_textures->isVisible())
        m_textures->selectedPageChanged();
}

void MainWidget::refreshTexturesForRow()
{
    if (m_textures->isVisible())
        m_textures->selectedRowChanged();
}

void MainWidget::refreshAfterCardChange()
{
    refreshSchemer();
    refreshProducts();
    refreshTexturesForPage();
}

void MainWidget::rowChangedInteractively(int newRow)
{
    Settings::setRowIndex(Settings::uuidOfLastUsedCollection(), newRow);
    m_cardRoller->update();
    refreshSchemer();
    refreshProducts();
    refreshTexturesForRow();
}

void MainWidget::pageChangedInteractively(int newPage)
{
    Settings::setPageIndex(Settings::uuidOfLastUsedCollection(), newPage);
    m_cardRoller->update();
    refreshAfterCardChange();
}

void MainWidget::schemeKindChangedInteractively(SchemeKind scheme)
{
    Settings::setSchemeKind(Settings::uuidOfLastUsedCollection(), scheme);
    refreshAfterCardChange();
}

void MainWidget::schemeNeutralSubKindChangedInteractively(SchemeKind scheme)
{
    Settings::setSchemeNeutralSubKind(Settings::uuidOfLastUsedCollection(), scheme);
    refreshAfterCardChange();
}

void MainWidget::tabPageSelected(TabBarPage newPage)
{
    // The tab bar reports the page it already shows too.
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    if (newPage == Settings::tabPage(collection))
        return;
    Settings::setTabPage(collection, newPage);
    m_tabBar->update();
    displayTabPageFor(newPage);
}

void MainWidget::displayTabPageFor(TabBarPage page)
{
    const QList<QWidget *> pages{m_colorSchemer, m_sarnexSchemer, m_huecast, m_textures, m_products};
    for (QWidget *shown : pages)
        shown->hide();
    switch (page) {
    case TabBarPageColorSchemes: {
        const int cardType = CollectionSettings::cardType(Settings::uuidOfLastUsedCollection());
        if (cardType == s_normalCardType)
            m_colorSchemer->show();
        else if (cardType == s_sarnexCardType)
            m_sarnexSchemer->show();
        break;
    }
    case TabBarPageProducts:
        m_products->show();
        break;
    case TabBarPageHuecast:
        m_huecast->show();
        m_huecast->doResize(QRect(0, 0, m_huecast->width(), m_huecast->height()));
        // Its colours are dragged to the roller, which looks for the nearest chip.
        readMatchTableAhead();
        break;
    case TabBarPageTextures:
        m_textures->show();
        m_textures->doResize(QRect(0, 0, m_textures->width(), m_textures->height()));
        break;
    default:
        break;
    }
}

void MainWidget::segmentChangedInteractivelyByWheel(int newSegment)
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    Settings::setSegmentIndex(collection, newSegment);
    m_colorWheel->update();
    int pageIndex = 0;
    if (DBManager::FindFirstCardInSegment(collection, Settings::segmentIndex(collection),
                                          Settings::moodFilter(collection), Settings::exteriorFilter(collection),
                                          pageIndex)
        == 0) {
        Settings::setPageIndex(collection, pageIndex);
        refreshAfterCardChange();
    }
    m_cardRoller->update();
}

void MainWidget::rollCards(Direction dir)
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const int current = Settings::pageIndex(collection);
    DB::ColorPage card;
    if (DBManager::FindNextCardByIndex(collection, current, dir, Settings::moodFilter(collection),
                                       Settings::exteriorFilter(collection), card)
            != 0
        || card.pageIndex == current)
        return;
    if (card.segment != Settings::segmentIndex(collection)) {
        Settings::setSegmentIndex(collection, card.segment);
        m_colorWheel->update();
    }
    Settings::setPageIndex(collection, card.pageIndex);
    m_cardRoller->update();
    refreshAfterCardChange();
}

void MainWidget::searchForPhrase(QString phrase)
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    int pageIndex = -1;
    int rowIndex = -1;
    int segment = -1;
    Mood mood = MoodNone;
    bool exterior = false;
    if (DBManager::SearchForPhrase(collection, phrase, pageIndex, rowIndex, segment, mood, exterior) != 0)
        return;

    bool wheelChanged = false;
    bool filtersChanged = false;
    bool cardChanged = false;
    if (segment > 0 && segment != Settings::segmentIndex(collection)) {
        Settings::setSegmentIndex(collection, segment);
        wheelChanged = true;
    }
    // The filters open up just enough for the hit to be on the cards shown.
    if (!exterior && Settings::exteriorFilter(collection)) {
        Settings::setExteriorFilter(collection, false);
        filtersChanged = true;
    }
    const Mood moodFilter = Settings::moodFilter(collection);
    if (mood == MoodOffwhite || mood == MoodNeutral) {
        if (mood != moodFilter) {
            Settings::setMoodFilter(collection, mood);
            filtersChanged = true;
        }
    } else if (moodFilter != MoodAll && moodFilter != mood) {
        Settings::setMoodFilter(collection, MoodAll);
        filtersChanged = true;
    }
    if (pageIndex > 0 && pageIndex != Settings::pageIndex(collection)) {
        Settings::setPageIndex(collection, pageIndex);
        cardChanged = true;
    }
    if (rowIndex > 0 && rowIndex != Settings::rowIndex(collection)) {
        Settings::setRowIndex(collection, rowIndex);
        cardChanged = true;
    }

    if (wheelChanged)
        m_colorWheel->update();
    if (filtersChanged)
        m_moodStrip->update();
    if (cardChanged) {
        m_cardRoller->update();
        refreshAfterCardChange();
    }
}

void MainWidget::moodFilterChangedInteractively(Mood newMood)
{
    Settings::setMoodFilter(Settings::uuidOfLastUsedCollection(), newMood);
    m_moodStrip->update();
    updateCardSelectionIfNecessaryAfterFilterChanges();
}

void MainWidget::exteriorFilterChangedInteractively(bool exteriorFilter)
{
    Settings::setExteriorFilter(Settings::uuidOfLastUsedCollection(), exteriorFilter);
    m_moodStrip->update();
    updateCardSelectionIfNecessaryAfterFilterChanges();
}

void MainWidget::showMtoChangedInteractively(bool newValue)
{
    Settings::setShowMto(Settings::uuidOfLastUsedCollection(), newValue);
    m_moodStrip->update();
    updateCardSelectionIfNecessaryAfterFilterChanges();
}

void MainWidget::updateCardSelectionIfNecessaryAfterFilterChanges()
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    if (CollectionSettings::cardType(collection) == s_sarnexCardType) {
        if (m_sarnexSchemer->isVisible())
            m_sarnexSchemer->update();
        m_cardRoller->update();
        return;
    }
    DB::ColorPage card;
    if (DBManager::FindFirstCardInSegment(collection, Settings::segmentIndex(collection),
                                          Settings::moodFilter(collection), Settings::exteriorFilter(collection), card)
        == 0) {
        if (card.segment != Settings::segmentIndex(collection)) {
            Settings::setSegmentIndex(collection, card.segment);
            m_colorWheel->update();
        }
        if (card.pageIndex != Settings::pageIndex(collection)) {
            Settings::setPageIndex(collection, card.pageIndex);
            if (m_colorSchemer->isVisible())
                m_colorSchemer->update();
            refreshProducts();
            refreshTexturesForPage();
        }
    }
    // The neighbours the roller shows follow the filters even when the
    // current card stays.
    m_cardRoller->update();
}

void MainWidget::collectionChangedInteractively(QUuid collection)
{
    if (collection == Settings::uuidOfLastUsedCollection()
        || !DBManager::GetInstalledCollectionUuidsInOrder().contains(collection))
        return;

    // The old collection's folder is no longer watched.
    m_dizevizFolder.clear();
    m_dizevizFile.clear();
    prepareDizevizWatcher();

    // Every service knows the new collection before anything reads it.
    Settings::setUuidOfLastUsedCollection(collection);
    DBManager::selectedCollectionChanged(collection);
    CollectionSettings::selectedCollectionChanged(collection);
    prepareForCollection(collection);

    setEnabled(false);
    setCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    emit selectedCollectionChanged(collection);
    releaseSuggestions();
    displayTabPageFor(Settings::tabPage(collection));
    updateTaskButtonTexts(collection);
    recalculateLayout();
    prepareDizevizWatcher();
    emit onDizevizFileChanged(m_dizevizFile);
    setUpdatesEnabled(true);
    setCursor(Qt::ArrowCursor);
    setEnabled(true);
}

void MainWidget::dizevizItemSelectedInteractively(QUuid collectionId, DB::ColorEntry colorEntry)
{
    DB::ColorPage card;
    if (DBManager::GetColorPageById(collectionId, colorEntry.pageId, true, card) < 0)
        return;
    if (collectionId != Settings::uuidOfLastUsedCollection())
        collectionChangedInteractively(collectionId);
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    if (collection != collectionId)
        return;
    if (card.segment != Settings::segmentIndex(collection))
        segmentChangedInteractivelyByWheel(card.segment);
    if (card.pageIndex != Settings::pageIndex(collection))
        pageChangedInteractively(card.pageIndex);
    if (colorEntry.rowIndex != Settings::rowIndex(collection))
        rowChangedInteractively(colorEntry.rowIndex);
}

void MainWidget::selectColorEntry(const QUuid &collection, const DB::ColorEntry &entry)
{
    DB::ColorPage card;
    if (DBManager::GetColorPageById(collection, entry.pageId, true, card) != 0)
        return;
    // The wheel follows the card, as it does when the deck rolls.
    if (card.segment > 0 && card.segment != Settings::segmentIndex(collection)) {
        Settings::setSegmentIndex(collection, card.segment);
        m_colorWheel->update();
    }
    if (card.pageIndex != Settings::pageIndex(collection))
        pageChangedInteractively(card.pageIndex);
    if (entry.rowIndex != Settings::rowIndex(collection))
        rowChangedInteractively(entry.rowIndex);
}

} // namespace Velmar
