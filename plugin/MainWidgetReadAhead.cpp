// What the main widget reads ahead for the collection it shows: once the
// collection has painted, a thread of its own reads the colour-match table,
// the chips nearest to the host's colour and the search field's suggestions,
// so that the pick, a dropped colour and the first key typed find them read.

#include "plugin/MainWidget.h"

#include "database/DBManager.h"
#include "plugin/CollectionReadAhead.h"
#include "views/SearchWidget.h"

#include <QTimer>

namespace Velmar {

namespace {

// Suggestions read for other search orders are not the ones asked for.
bool readsTheSearchOrders(const CollectionReadAhead *readAhead)
{
    return readAhead && readAhead->request().pageNameSearchOrder == DBManager::s_page_name_search_order
        && readAhead->request().rowNameSearchOrder == DBManager::s_row_name_search_order;
}

} // namespace

void MainWidget::readAheadNearestColor(const QColor &color)
{
    m_readAheadColor = color;
}

void MainWidget::retireReadAhead()
{
    m_readAheadPending = false;
    if (!m_readAhead)
        return;
    CollectionReadAhead *retired = m_readAhead;
    m_readAhead = nullptr;
    retired->cancel(m_releasedSuggestions);
    // A thread still reading goes once it has ended (readAheadFinished).
    if (retired->isFinished())
        retired->deleteLater();
}

void MainWidget::startReadAhead()
{
    m_readAheadPosted = false;
    if (!m_readAheadPending)
        return;
    m_readAheadPending = false;
    const QUuid collection = m_matchTableCollection;
    const auto installed = DBManager::s_installed_collections.constFind(collection);
    if (installed == DBManager::s_installed_collections.constEnd())
        return;

    CollectionReadAhead::Request request;
    request.collection = collection;
    request.filePath = installed->databaseName;
    request.collectionId = installed->id;
    request.pageNameSearchOrder = DBManager::s_page_name_search_order;
    request.rowNameSearchOrder = DBManager::s_row_name_search_order;
    request.matchTable = !m_matchTableRead;
    request.suggestions = m_searchField->awaitsSuggestions(collection);
    if (m_readAheadColor.isValid()) {
        request.pickColor = m_readAheadColor;
        request.pickCandidates = s_nearestCandidates;
    }
    // All read on the spot already, and nothing to let go of.
    if (!request.matchTable && !request.suggestions && !request.pickColor.isValid() && m_releasedSuggestions.isEmpty())
        return;
    auto *readAhead = new CollectionReadAhead(request, std::move(m_releasedSuggestions), this);
    m_releasedSuggestions.clear();
    const bool connected =
        connect(readAhead, SIGNAL(suggestionsRead()), this, SLOT(readAheadSuggestionsRead()))
        && connect(readAhead, SIGNAL(finished()), this, SLOT(readAheadFinished()));
    if (!connected)
        qWarning("MainWidget: a connection of the read-ahead failed");
    m_readAhead = readAhead;
    readAhead->start();
}

void MainWidget::readAheadFinished()
{
    auto *finished = qobject_cast<CollectionReadAhead *>(sender());
    // The current one keeps what it read until it is taken.
    if (finished && finished != m_readAhead)
        finished->deleteLater();
}

CollectionReadAhead *MainWidget::readAheadFor(const QUuid &collection) const
{
    return m_readAhead && m_readAhead->request().collection == collection ? m_readAhead : nullptr;
}

void MainWidget::readAheadSuggestionsRead()
{
    const QUuid collection = m_matchTableCollection;
    CollectionReadAhead *readAhead = readAheadFor(collection);
    if (!readAhead || sender() != readAhead || !readsTheSearchOrders(readAhead)
        || !m_searchField->awaitsSuggestions(collection))
        return;
    QStringList suggestions;
    if (readAhead->takeSuggestions(suggestions))
        offerSuggestions(collection, suggestions);
}

void MainWidget::searchSuggestionsWanted(QUuid collection)
{
    QStringList suggestions;
    CollectionReadAhead *readAhead = readAheadFor(collection);
    if (!readsTheSearchOrders(readAhead) || !readAhead->takeSuggestions(suggestions))
        DBManager::GetAvailableSearchSuggestions(collection, suggestions);
    offerSuggestions(collection, suggestions);
}

void MainWidget::offerSuggestions(const QUuid &collection, const QStringList &suggestions)
{
    if (!m_offeredSuggestions.isEmpty())
        m_releasedSuggestions.append(std::move(m_offeredSuggestions));
    m_offeredSuggestions = suggestions;
    m_searchField->offerSuggestions(collection, suggestions);
}

const QVector<ColorMatchEntry> &MainWidget::matchTable() const
{
    if (!m_matchTableRead) {
        m_matchTableRead = true;
        CollectionReadAhead *readAhead = readAheadFor(m_matchTableCollection);
        if (!readAhead || !readAhead->takeMatchTable(m_matchTable))
            DBManager::GetAllColorMatchEntryFor(m_matchTableCollection, m_matchTable);
    }
    return m_matchTable;
}

} // namespace Velmar
