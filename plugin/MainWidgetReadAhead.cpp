// What the main widget reads ahead for the collection it shows, each only
// once something asks for it: once the collection has painted, a thread of
// its own reads the chips nearest to the host's colour, with the
// colour-match table, so that the pick finds them read; the table alone
// when a drop may follow; once the search field is used, another thread
// reads the whole list of suggestions, which the field completes from when
// it is there.

#include "plugin/MainWidget.h"

#include "database/DBManager.h"
#include "database/InterfaceIdleGate.h"
#include "plugin/CollectionReadAhead.h"
#include "plugin/MyPaletteWidget.h"
#include "views/CardRollerWidget.h"
#include "views/SearchWidget.h"

#include <QEvent>
#include <QSharedPointer>
#include <QThread>
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

void MainWidget::retire(CollectionReadAhead *&thread)
{
    if (!thread)
        return;
    CollectionReadAhead *retired = thread;
    thread = nullptr;
    SuggestionList unclaimed;
    retired->cancel(&unclaimed);
    if (!unclaimed.isEmpty())
        m_releasedSuggestions.append(std::move(unclaimed));
    // A thread still reading goes once it has ended (readAheadFinished).
    if (retired->isFinished())
        retired->deleteLater();
}

void MainWidget::retireReadAhead()
{
    m_readAheadPending = false;
    retire(m_readAhead);
    retire(m_suggestionReader);
}

void MainWidget::releaseSuggestions()
{
    // A copy shares the texts: the field holds none of them now, and the
    // thread's is the last hold on them.
    if (m_offeredSuggestions)
        m_releasedSuggestions.append(*m_offeredSuggestions);
    m_offeredSuggestions.reset();
    if (m_releasedSuggestions.isEmpty())
        return;
    // Let go of once the interface has nothing to do, or at once when the
    // widget goes and waits for the thread.
    InterfaceIdleGate::watchInterface();
    QThread *release = QThread::create([lists = std::move(m_releasedSuggestions)]() mutable {
        InterfaceIdleGate::yieldsToInterface();
        InterfaceIdleGate::stopRequested();
        lists.clear();
    });
    m_releasedSuggestions.clear();
    release->setParent(this);
    if (!connect(release, SIGNAL(finished()), release, SLOT(deleteLater())))
        qWarning("MainWidget: a connection of a release thread failed");
    release->start();
}

CollectionReadAhead *MainWidget::start(const CollectionReadAhead::Request &request)
{
    InterfaceIdleGate::watchInterface();
    auto *readAhead = new CollectionReadAhead(request, this);
    const bool connected =
        connect(readAhead, SIGNAL(suggestionsRead()), this, SLOT(readAheadSuggestionsRead()))
        && connect(readAhead, SIGNAL(finished()), this, SLOT(readAheadFinished()));
    if (!connected)
        qWarning("MainWidget: a connection of the read-ahead failed");
    readAhead->start();
    return readAhead;
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
    request.matchTable = !m_matchTableRead && (m_matchTableWanted || m_readAheadColor.isValid());
    if (m_readAheadColor.isValid()) {
        request.pickColor = m_readAheadColor;
        request.pickCandidates = s_nearestCandidates;
    }
    // All read on the spot already.
    if (!request.matchTable && !request.pickColor.isValid())
        return;
    m_readAhead = start(request);
}

void MainWidget::readMatchTableAhead()
{
    if (m_matchTableRead)
        return;
    m_matchTableWanted = true;
    // Before the collection's paint, which starts the reads; or under way
    // (a read-ahead without the table exists only once it was read here).
    if (m_readAheadPending || m_readAhead)
        return;
    m_readAheadPending = true;
    startReadAhead();
}

bool MainWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::DragEnter
        && (watched == static_cast<QObject *>(m_cardRoller) || watched == static_cast<QObject *>(m_myPalette)))
        readMatchTableAhead();
    return QWidget::eventFilter(watched, event);
}

void MainWidget::searchStarted(QUuid collection)
{
    // Once the key that started the search is answered: starting a thread
    // and its connection is no part of that answer.
    QMetaObject::invokeMethod(this, "startSuggestionReader", Qt::QueuedConnection, Q_ARG(QUuid, collection));
}

void MainWidget::startSuggestionReader(QUuid collection)
{
    // Not for a field that completes for another collection by now, or
    // from its whole list already.
    const auto installed = DBManager::s_installed_collections.constFind(collection);
    if (collection != m_matchTableCollection || m_suggestionReader || !m_searchField->awaitsSuggestions(collection)
        || installed == DBManager::s_installed_collections.constEnd())
        return;
    CollectionReadAhead::Request request;
    request.collection = collection;
    request.filePath = installed->databaseName;
    request.collectionId = installed->id;
    request.pageNameSearchOrder = DBManager::s_page_name_search_order;
    request.rowNameSearchOrder = DBManager::s_row_name_search_order;
    request.suggestions = true;
    m_suggestionReader = start(request);
}

void MainWidget::readAheadFinished()
{
    auto *finished = qobject_cast<CollectionReadAhead *>(sender());
    // The current ones keep what they read until it is taken.
    if (finished && finished != m_readAhead && finished != m_suggestionReader)
        finished->deleteLater();
}

CollectionReadAhead *MainWidget::readAheadFor(const QUuid &collection) const
{
    return m_readAhead && m_readAhead->request().collection == collection ? m_readAhead : nullptr;
}

CollectionReadAhead *MainWidget::suggestionReaderFor(const QUuid &collection) const
{
    return m_suggestionReader && m_suggestionReader->request().collection == collection
            && readsTheSearchOrders(m_suggestionReader)
        ? m_suggestionReader
        : nullptr;
}

void MainWidget::readAheadSuggestionsRead()
{
    const QUuid collection = m_matchTableCollection;
    CollectionReadAhead *reader = suggestionReaderFor(collection);
    if (!reader || sender() != reader || !m_searchField->awaitsSuggestions(collection))
        return;
    auto suggestions = QSharedPointer<SuggestionList>::create();
    if (reader->takeSuggestions(*suggestions))
        offerSuggestions(collection, suggestions);
}

void MainWidget::searchSuggestionsWanted(QUuid collection)
{
    // The thread's list, waited for while it is read; one not begun is read
    // here, as the field would read it.
    auto suggestions = QSharedPointer<SuggestionList>::create();
    CollectionReadAhead *reader = suggestionReaderFor(collection);
    if (!reader || !reader->takeSuggestions(*suggestions)) {
        if (DBManager::GetAvailableSearchSuggestions(collection, *suggestions) != 0)
            return;
    }
    offerSuggestions(collection, suggestions);
}

void MainWidget::offerSuggestions(const QUuid &collection, const QSharedPointer<const SuggestionList> &suggestions)
{
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
