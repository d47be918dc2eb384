#include "database/SuggestionSelection.h"

#include "database/SuggestionOrder.h"

#include <algorithm>

namespace Velmar {

const int SuggestionSelection::s_everyPerLimit = 64;

SuggestionSelection::SuggestionSelection(int limit, const QString &after, const QString &before)
    : m_limit(qMax(1, limit))
    , m_after(after)
    , m_before(before)
{
    m_lowest.reserve(m_limit + 1);
    m_highest.reserve(m_limit + 1);
}

bool SuggestionSelection::withinBounds(QStringView text) const
{
    return (m_after.isEmpty() || SuggestionOrder::compareDistinct(text, m_after) > 0)
        && (m_before.isEmpty() || SuggestionOrder::compareDistinct(text, m_before) < 0);
}

void SuggestionSelection::offer(QStringView text)
{
    const bool low = keep(m_lowest, text, true);
    const bool high = keep(m_highest, text, false);
    if (!low || !high)
        m_overflowed = true;
    if (m_keepsEvery) {
        m_every.insert(text.toString());
        if (m_every.size() > qsizetype(m_limit) * s_everyPerLimit) {
            m_keepsEvery = false;
            m_every = QSet<QString>();
        }
    }
}

void SuggestionSelection::restore(bool overflowed, const QVector<QString> &lowest, const QVector<QString> &highest,
                                  bool keepsEvery, const QSet<QString> &every)
{
    m_overflowed = overflowed;
    m_lowest = lowest;
    m_highest = highest;
    m_keepsEvery = keepsEvery;
    m_every = every;
}

bool SuggestionSelection::keep(QVector<QString> &kept, QStringView text, bool lowest)
{
    const qsizetype capacity = m_limit + 1;
    if (kept.size() == capacity) {
        if (!lowest && SuggestionOrder::compareDistinct(text, kept.constLast()) > 0) {
            // Names and codes stored in ascending order each become the
            // highest one; the lowest kept lends its room.
            QString reused = std::move(kept.first());
            kept.removeFirst();
            reused.resize(text.size());
            std::copy(text.begin(), text.end(), reused.begin());
            kept.append(std::move(reused));
            return false;
        }
        // Most texts of a big deck go no further than this.
        const int order = SuggestionOrder::compareDistinct(text, lowest ? kept.constLast() : kept.constFirst());
        if (order == 0)
            return true;
        if (lowest ? order > 0 : order < 0)
            return false;
    }
    const auto place = std::lower_bound(kept.begin(), kept.end(), text, [](const QString &keptText, QStringView wanted) {
        return SuggestionOrder::compareDistinct(keptText, wanted) < 0;
    });
    if (place != kept.end() && SuggestionOrder::compareDistinct(*place, text) == 0)
        return true;
    qsizetype index = place - kept.begin();
    if (kept.size() < capacity) {
        kept.insert(index, text.toString());
        return true;
    }
    // The text let go of lends its room to the one kept: texts met in
    // ascending order replace the highest ones at each step.
    QString reused;
    if (lowest) {
        reused = std::move(kept.last());
        kept.removeLast();
    } else {
        reused = std::move(kept.first());
        kept.removeFirst();
        --index;
    }
    reused.resize(text.size());
    std::copy(text.begin(), text.end(), reused.begin());
    kept.insert(index, std::move(reused));
    return false;
}

void SuggestionSelection::merge(SuggestionSelection &other)
{
    // Every text of both, while they are few.
    m_keepsEvery = m_keepsEvery && other.m_keepsEvery;
    if (m_keepsEvery)
        m_every.unite(other.m_every);
    if (!m_keepsEvery || m_every.size() > qsizetype(m_limit) * s_everyPerLimit) {
        m_keepsEvery = false;
        m_every = QSet<QString>();
    }
    for (const QVector<QString> *kept : {&other.m_lowest, &other.m_highest}) {
        for (const QString &text : *kept) {
            const bool low = keep(m_lowest, text, true);
            const bool high = keep(m_highest, text, false);
            m_overflowed = m_overflowed || !low || !high;
        }
    }
    m_overflowed = m_overflowed || other.m_overflowed;
}

SuggestionSelection::Window SuggestionSelection::window(const QStringList &others) const
{
    // The texts kept, each once, and the others beside them.
    const auto less = [](QStringView left, QStringView right) { return SuggestionOrder::compareDistinct(left, right) < 0; };
    QVector<QStringView> rows;
    if (m_keepsEvery) {
        for (const QString &text : m_every)
            rows.append(text);
    } else {
        for (const QString &text : m_lowest)
            rows.append(text);
        for (const QString &text : m_highest) {
            if (!std::binary_search(m_lowest.begin(), m_lowest.end(), text, less))
                rows.append(text);
        }
    }
    for (const QString &text : others)
        rows.append(text);
    std::stable_sort(rows.begin(), rows.end(), less);
    const qsizetype count = rows.size();
    // Texts equal but for case stand where only the whole list's sort puts
    // them: neither they nor anything beyond them on their side is shown.
    const auto tiedWithNext = [&rows, count](qsizetype i) {
        return i + 1 < count && SuggestionOrder::compareCaseInsensitive(rows.at(i), rows.at(i + 1)) == 0;
    };

    Window window;
    // Every text offered is known while every one is kept, when no more
    // than the limit + 1 were, or when the lowest and the highest kept meet.
    const bool allKept = !m_overflowed || m_keepsEvery
        || (!m_lowest.isEmpty() && SuggestionOrder::compareDistinct(m_lowest.constLast(), m_highest.constFirst()) >= 0);
    // Beyond the lowest text kept may come texts not kept, some perhaps
    // equal to it but for case; the same before the highest one.
    const QStringView lowEnd = allKept ? QStringView() : QStringView(m_lowest.constLast());
    const QStringView highStart = allKept ? QStringView() : QStringView(m_highest.constFirst());
    qsizetype first = 0;
    while (first < count && (allKept || (window.first.size() < m_limit && SuggestionOrder::compareDistinct(rows.at(first), lowEnd) < 0))
           && !tiedWithNext(first)) {
        window.first.append(rows.at(first).toString());
        ++first;
    }
    if (first == count) {
        window.complete = true;
        return window;
    }
    window.complete = false;
    qsizetype last = count;
    while (last > first && (allKept || (window.last.size() < m_limit && SuggestionOrder::compareDistinct(rows.at(last - 1), highStart) > 0))
           && !(last - 2 >= 0 && tiedWithNext(last - 2))) {
        --last;
        window.last.prepend(rows.at(last).toString());
    }
    return window;
}

} // namespace Velmar
