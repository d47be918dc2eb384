#include "plugin/CollectionReadAhead.h"

#include "database/CollectionFileConnection.h"
#include "database/DBManager.h"
#include "database/InterfaceIdleGate.h"
#include "services/ColorManager.h"

#include <QMutexLocker>
#include <QSqlDatabase>

namespace Velmar {

CollectionReadAhead::CollectionReadAhead(const Request &request, QObject *parent)
    : QThread(parent)
    , m_request(request)
{
    m_states[StageMatchTable] = request.matchTable ? Pending : LeftOut;
    m_states[StageNearestChips] = request.pickColor.isValid() ? Pending : LeftOut;
    m_states[StageSuggestions] = request.suggestions ? Pending : LeftOut;
}

CollectionReadAhead::~CollectionReadAhead()
{
    InterfaceIdleGate::stop(this);
    wait();
}

bool CollectionReadAhead::begin(Stage stage)
{
    // Not while the interface is busy: a stage it asks for meanwhile, it
    // reads itself.
    if (InterfaceIdleGate::stopRequested())
        return false;
    QMutexLocker locker(&m_lock);
    if (m_states[stage] != Pending || isInterruptionRequested())
        return false;
    m_states[stage] = Running;
    return true;
}

template <typename Result>
void CollectionReadAhead::finish(Stage stage, bool read, const Result &result, Result &kept)
{
    QMutexLocker locker(&m_lock);
    if (read && !isInterruptionRequested()) {
        kept = result;
        m_states[stage] = Done;
    } else {
        m_states[stage] = Failed;
    }
    m_stageChanged.wakeAll();
}

void CollectionReadAhead::run()
{
    // At the interface's priority, so that nothing starves a read the
    // interface waits for, but only while the interface has nothing to do:
    // a roll, a switch or a key never waits for the reads.
    InterfaceIdleGate::yieldsToInterface();
    // Started from an event, the thread opens the file once that is handled.
    if (!InterfaceIdleGate::stopRequested()) {
        // Unique while the thread runs: the connection goes before it ends.
        const QString connectionName = QStringLiteral("read ahead %1").arg(quintptr(this), 0, 16);
        {
            QSqlDatabase file = CollectionFileConnection::add(connectionName, m_request.filePath);
            if (CollectionFileConnection::open(file))
                readStages(file);
            file.close();
        }
        CollectionFileConnection::remove(connectionName);
    }

    // What was not read is read by whoever asks for it.
    QMutexLocker locker(&m_lock);
    for (State &state : m_states) {
        if (state == Pending)
            state = Failed;
    }
    m_stageChanged.wakeAll();
}

void CollectionReadAhead::readStages(const QSqlDatabase &file)
{
    const qint64 id = m_request.collectionId;
    // The nearest chips are looked for in the table, also when the
    // interface has read the table itself meanwhile.
    const bool tableStage = begin(StageMatchTable);
    QVector<ColorMatchEntry> table;
    bool tableRead = false;
    if (tableStage || m_request.pickColor.isValid())
        tableRead = DBManager::GetAllColorMatchEntryFor(file, id, table) == 0;
    if (tableStage)
        finish(StageMatchTable, tableRead, table, m_matchTable);

    if (begin(StageNearestChips)) {
        // As the pick looks them up: the chip within the tolerance first,
        // the nearest candidates only without one.
        NearestChips nearest;
        tableRead = tableRead && !InterfaceIdleGate::stopRequested();
        if (tableRead) {
            nearest.exactStatus = DBManager::GetColorEntryByColor(file, id, m_request.pickColor, nearest.exact);
            if (nearest.exactStatus != 0)
                ColorManager::MatchColor(ColorManager::fromRgb(m_request.pickColor), table, nearest.matches,
                                         m_request.pickCandidates);
        }
        finish(StageNearestChips, tableRead, nearest, m_nearestChips);
    }
    table.clear();

    if (begin(StageSuggestions)) {
        SuggestionList suggestions;
        const bool read = DBManager::GetAvailableSearchSuggestions(file, id, m_request.pageNameSearchOrder,
                                                                   m_request.rowNameSearchOrder, suggestions)
            == 0;
        finish(StageSuggestions, read, suggestions, m_suggestions);
        if (read)
            emit suggestionsRead();
    }
}

bool CollectionReadAhead::awaitDone(Stage stage)
{
    // Waited for, the read goes on while the interface is busy waiting, at
    // the priority the interface would read it with itself.
    if (m_states[stage] == Running) {
        InterfaceIdleGate::interfaceWaitsFor(this);
        while (m_states[stage] == Running)
            m_stageChanged.wait(&m_lock);
        InterfaceIdleGate::interfaceWaitsFor(nullptr);
    }
    if (m_states[stage] == Pending)
        m_states[stage] = LeftOut;
    if (m_states[stage] != Done)
        return false;
    // Given once: a second caller reads it itself.
    m_states[stage] = LeftOut;
    return true;
}

template <typename Result>
bool CollectionReadAhead::take(Stage stage, Result &kept, Result &out)
{
    QMutexLocker locker(&m_lock);
    if (!awaitDone(stage))
        return false;
    out = std::move(kept);
    kept = Result();
    return true;
}

bool CollectionReadAhead::takeMatchTable(QVector<ColorMatchEntry> &out)
{
    return take(StageMatchTable, m_matchTable, out);
}

bool CollectionReadAhead::takeNearestChips(const QColor &color, NearestChips &out)
{
    return color == m_request.pickColor && take(StageNearestChips, m_nearestChips, out);
}

bool CollectionReadAhead::takeSuggestions(SuggestionList &out)
{
    return take(StageSuggestions, m_suggestions, out);
}

void CollectionReadAhead::cancel(SuggestionList *unclaimed)
{
    QMutexLocker locker(&m_lock);
    InterfaceIdleGate::stop(this);
    // A stage under way ends as failed, the thread being asked to stop.
    for (State &state : m_states) {
        if (state != Running)
            state = LeftOut;
    }
    if (unclaimed)
        *unclaimed = std::move(m_suggestions);
    m_suggestions = SuggestionList();
    m_matchTable = QVector<ColorMatchEntry>();
    m_nearestChips = NearestChips();
}

} // namespace Velmar
