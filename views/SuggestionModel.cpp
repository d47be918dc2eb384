#include "views/SuggestionModel.h"

#include "database/DBManager.h"
#include "database/SuggestionSelection.h"

namespace Velmar {

const int SuggestionModel::s_screenful = 32;

SuggestionModel::SuggestionModel(const QUuid &collection, QObject *parent)
    : QAbstractListModel(parent)
    , m_collection(collection)
{
}

void SuggestionModel::setWholeList(const QSharedPointer<const SuggestionList> &list)
{
    if (!list)
        return;
    beginResetModel();
    m_whole = list;
    m_looked = false;
    m_first.clear();
    m_last.clear();
    lookUp(m_text);
    endResetModel();
}

void SuggestionModel::showStartingWith(const QString &text)
{
    // The field sets the text it shows again before it moves from a row it
    // does not show: the rows stay as they are.
    if (m_shown && text == m_text)
        return;
    beginResetModel();
    m_text = text;
    lookUp(text);
    endResetModel();
    if (!m_whole && !m_complete && m_first.isEmpty()) {
        // The first row is one of texts that differ only in case.
        obtainWholeList();
        if (!m_whole) {
            // Not read: nothing is offered rather than a guess, and the
            // same text is looked up again.
            beginResetModel();
            m_looked = false;
            m_shown = false;
            m_first.clear();
            m_last.clear();
            m_complete = true;
            endResetModel();
        }
    }
}

void SuggestionModel::lookUp(const QString &text)
{
    m_shown = true;
    if (m_whole) {
        const QPair<int, int> rows = m_whole->rowsStartingWith(text);
        m_firstRow = rows.first;
        m_lastRow = rows.second;
        m_complete = true;
        return;
    }
    if (m_looked && m_complete && text.startsWith(m_lookedText, Qt::CaseInsensitive)) {
        // Those that start with the longer text stand together among those
        // of the shorter one, in its order.
        QStringList found;
        for (const QString &suggestion : qAsConst(m_first)) {
            if (suggestion.startsWith(text, Qt::CaseInsensitive))
                found.append(suggestion);
        }
        m_first = found;
        m_lookedText = text;
        return;
    }
    SuggestionSelection::Window window;
    if (DBManager::GetSearchSuggestionWindow(m_collection, text, m_screenful, QString(), QString(), window) != 0) {
        // A read that failed offers nothing, and the next text, the same
        // one too, reads again.
        m_looked = false;
        m_shown = false;
        m_first.clear();
        m_last.clear();
        m_complete = true;
        return;
    }
    m_looked = true;
    m_lookedText = text;
    m_first = window.first;
    m_last = window.last;
    m_complete = window.complete;
}

bool SuggestionModel::showsEveryRow() const
{
    return m_whole || m_complete;
}

int SuggestionModel::firstRows() const
{
    return m_whole ? rowCount() : int(m_first.size());
}

void SuggestionModel::showEveryRow()
{
    if (showsEveryRow())
        return;
    obtainWholeList();
}

void SuggestionModel::showRowsAfterMove(int row, int step)
{
    if (showsEveryRow() || row < 0)
        return;
    const int first = int(m_first.size());
    const int last = int(m_last.size());
    // Down from the last of the first rows, Up from the first of the last
    // ones, and Up from the first row, which wraps to the last one.
    const bool nextToTheFirst = step > 0;
    if (nextToTheFirst ? row != first - 1 : !(row == first && last > 0) && !(row == 0 && last == 0))
        return;
    beginResetModel();
    const bool shown = showRowsBetween(nextToTheFirst);
    endResetModel();
    if (!shown)
        obtainWholeList();
}

bool SuggestionModel::showRowsBetween(bool nextToTheFirst)
{
    SuggestionSelection::Window between;
    if (DBManager::GetSearchSuggestionWindow(m_collection, m_lookedText, m_screenful,
                                             m_first.isEmpty() ? QString() : m_first.constLast(),
                                             m_last.isEmpty() ? QString() : m_last.constFirst(), between)
        != 0)
        return false;
    if (between.complete) {
        m_first += between.first;
        m_first += m_last;
        m_last.clear();
        m_complete = true;
        return true;
    }
    if ((nextToTheFirst ? between.first : between.last).isEmpty())
        return false;
    m_first += between.first;
    m_last = between.last + m_last;
    return true;
}

void SuggestionModel::obtainWholeList()
{
    emit wholeListWanted(m_collection);
    if (m_whole)
        return;
    auto list = QSharedPointer<SuggestionList>::create();
    if (DBManager::GetAvailableSearchSuggestions(m_collection, *list) == 0)
        setWholeList(list);
}

int SuggestionModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_whole ? m_lastRow - m_firstRow : int(m_first.size() + m_last.size());
}

QVariant SuggestionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const int row = index.row();
    if (m_whole)
        return m_whole->at(m_firstRow + row).toString();
    return row < m_first.size() ? m_first.at(row) : m_last.at(row - m_first.size());
}

} // namespace Velmar
