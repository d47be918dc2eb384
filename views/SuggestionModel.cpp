#include "views/SuggestionModel.h"

#include "database/DBManager.h"
#include "database/SuggestionOrder.h"

namespace Velmar {

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
    m_lookedText.clear();
    m_looks.clear();
    m_rows.clear();
    lookUp(m_text);
    endResetModel();
}

void SuggestionModel::showStartingWith(const QString &text)
{
    beginResetModel();
    m_text = text;
    lookUp(text);
    endResetModel();
    // An empty text is started by every suggestion, and texts that differ
    // only in case stand in the order only the whole list's sort decides.
    if (!m_whole && !m_firstKnown) {
        obtainWholeList();
        if (!m_whole) {
            // Not read: nothing is offered rather than a guess.
            beginResetModel();
            m_rows.clear();
            endResetModel();
        }
    }
}

void SuggestionModel::lookUp(const QString &text)
{
    m_rows.clear();
    m_first = m_last = 0;
    if (m_whole) {
        const QPair<int, int> rows = m_whole->rowsStartingWith(text);
        m_first = rows.first;
        m_last = rows.second;
        m_firstKnown = m_orderKnown = true;
        return;
    }
    if (text.isEmpty()) {
        m_firstKnown = m_orderKnown = false;
        return;
    }
    QStringList found;
    if (m_looked && text.startsWith(m_lookedText)) {
        // Those that start with the longer text stand together among those
        // of the shorter one, in its order.
        for (const QString &suggestion : qAsConst(m_looks)) {
            if (suggestion.startsWith(text, Qt::CaseInsensitive))
                found.append(suggestion);
        }
        SuggestionOrder::orderOfCaseTies(found, m_firstKnown, m_orderKnown);
    } else if (DBManager::GetSearchSuggestionsStartingWith(m_collection, text, found, m_firstKnown, m_orderKnown)
               != 0) {
        // A read that failed offers nothing, and the next text reads again.
        m_looked = false;
        m_firstKnown = m_orderKnown = true;
        return;
    }
    m_looked = true;
    m_lookedText = text;
    m_looks = found;
    if (m_orderKnown)
        m_rows = found;
    else if (m_firstKnown)
        m_rows = found.mid(0, 1);
}

bool SuggestionModel::showsEveryRow() const
{
    return m_whole || m_orderKnown;
}

void SuggestionModel::showEveryRow()
{
    if (showsEveryRow())
        return;
    obtainWholeList();
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
    return m_whole ? m_last - m_first : int(m_rows.size());
}

QVariant SuggestionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_whole ? m_whole->at(m_first + index.row()).toString() : m_rows.at(index.row());
}

} // namespace Velmar
