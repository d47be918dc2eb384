#include "database/SuggestionList.h"

namespace Velmar {

SuggestionList::SuggestionList(const QVector<QStringView> &texts)
{
    qsizetype length = 0;
    for (QStringView text : texts)
        length += text.size();
    m_text.reserve(length);
    m_places.reserve(texts.size());
    for (QStringView text : texts) {
        m_places.append({m_text.size(), text.size()});
        m_text.append(text);
    }
}

SuggestionList::SuggestionList(const QStringList &texts)
    : SuggestionList(QVector<QStringView>(texts.cbegin(), texts.cend()))
{
}

QStringList SuggestionList::toStringList() const
{
    QStringList texts;
    texts.reserve(size());
    for (int row = 0; row < size(); ++row)
        texts.append(at(row).toString());
    return texts;
}

QPair<int, int> SuggestionList::rowsStartingWith(QStringView prefix) const
{
    // A text's beginning as long as the prefix orders as the whole text
    // does: those before the prefix come first, those that start with it
    // next, the rest after them.
    const auto beginning = [this, &prefix](int row) { return at(row).left(prefix.size()); };
    int first = 0;
    int count = size();
    while (count > 0) {
        const int half = count / 2;
        if (beginning(first + half).compare(prefix, Qt::CaseInsensitive) < 0) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    int last = first;
    count = size() - first;
    while (count > 0) {
        const int half = count / 2;
        if (beginning(last + half).compare(prefix, Qt::CaseInsensitive) <= 0) {
            last += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return {first, last};
}

} // namespace Velmar
