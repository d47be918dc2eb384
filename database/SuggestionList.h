#ifndef VELMAR_SUGGESTIONLIST_H
#define VELMAR_SUGGESTIONLIST_H

#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

namespace Velmar {

// The search field's suggestions of a collection in their final order, kept
// as one block of text and the place of each suggestion in it: a big deck's
// few hundred thousand names and codes cost a fraction of what as many
// strings of their own would.
class SuggestionList
{
public:
    SuggestionList() = default;
    // The texts in their order, copied into a block of their own.
    explicit SuggestionList(const QVector<QStringView> &texts);
    explicit SuggestionList(const QStringList &texts);

    int size() const { return int(m_places.size()); }
    bool isEmpty() const { return m_places.isEmpty(); }
    QStringView at(int row) const
    {
        const Place &place = m_places.at(row);
        return QStringView(m_text).mid(place.start, place.length);
    }
    QStringList toStringList() const;

    // The rows from `first` up to `last` (not included) whose texts start
    // with the prefix, case ignored as QString::startsWith ignores it; the
    // list is in the order of that comparison, so they stand together.
    QPair<int, int> rowsStartingWith(QStringView prefix) const;

private:
    struct Place {
        qsizetype start;
        qsizetype length;
    };
    QString m_text;
    QVector<Place> m_places;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONLIST_H
