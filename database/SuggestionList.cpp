#include "database/SuggestionList.h"

namespace Velmar {

namespace {

// 128 KiB of text a block, so that the last block's unused room is small
// beside a big deck's texts and growing never moves them.
const qsizetype s_blockUnits = 64 * 1024;

} // namespace

SuggestionList::SuggestionList(const QStringList &texts)
{
    QVector<QStringView> rows;
    rows.reserve(texts.size());
    for (const QString &text : texts)
        rows.append(keep(text));
    setRows(std::move(rows));
}

QStringView SuggestionList::keep(QStringView text)
{
    if (m_blocks.isEmpty() || m_blocks.constLast().capacity() - m_blocks.constLast().size() < text.size()) {
        m_blocks.append(QString());
        m_blocks.last().reserve(qMax(s_blockUnits, text.size()));
    }
    QString &block = m_blocks.last();
    const qsizetype start = block.size();
    block.append(text);
    return QStringView(block.constData() + start, text.size());
}

void SuggestionList::clear()
{
    m_rows.clear();
    m_blocks.clear();
}

QStringList SuggestionList::toStringList() const
{
    QStringList texts;
    texts.reserve(size());
    for (QStringView row : m_rows)
        texts.append(row.toString());
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
