#ifndef VELMAR_SUGGESTIONLIST_H
#define VELMAR_SUGGESTIONLIST_H

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

namespace Velmar {

// The search field's suggestions of a collection in their final order. The
// texts are kept in a few large blocks that never move them, and each row
// is a view into them: a big deck's few hundred thousand names and codes
// cost a fraction of what as many strings of their own would, and building
// the list needs no copy of them. Copies share the blocks.
class SuggestionList
{
public:
    SuggestionList() = default;
    // The texts in their order.
    explicit SuggestionList(const QStringList &texts);

    // Building: the text kept in the list's blocks, as they stay for the
    // list's life; then the rows, views of kept texts, in their order. Only
    // before the list is copied.
    QStringView keep(QStringView text);
    void setRows(QVector<QStringView> rows) { m_rows = std::move(rows); }
    // Forgets what was kept.
    void clear();

    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    QStringView at(int row) const { return m_rows.at(row); }
    QStringList toStringList() const;

    // The rows from `first` up to `last` (not included) whose texts start
    // with the prefix, case ignored as QString::startsWith ignores it; the
    // list is in the order of that comparison, so they stand together.
    QPair<int, int> rowsStartingWith(QStringView prefix) const;

private:
    QList<QString> m_blocks;
    QVector<QStringView> m_rows;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONLIST_H
