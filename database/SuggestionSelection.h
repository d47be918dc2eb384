#ifndef VELMAR_SUGGESTIONSELECTION_H
#define VELMAR_SUGGESTIONSELECTION_H

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

namespace Velmar {

// The first and the last few of the suggestions that start with a text,
// or all of them while they are few, found in one pass over the
// collection's names and codes without sorting them all: a key typed shows
// the first of them inline, Ctrl+Up from there wraps to the last, and the
// rows between are looked up only when the user moves on to them.
class SuggestionSelection
{
public:
    // What can be shown of the suggestions of a text (between two bounds):
    // those known to stand first and last, in the whole list's order. When
    // complete, `first` holds every one of them and `last` none; else rows
    // are left out between the two, because there are more than the limit
    // or because only the whole list's sort puts texts that differ only in
    // case in their order.
    struct Window {
        QStringList first;
        QStringList last;
        bool complete = true;
    };

    // Keeps the `limit` + 1 lowest and highest distinct texts of those
    // offered, in the order of SuggestionOrder::compareDistinct, among those
    // strictly between `after` and `before` (an empty bound is none), and
    // every one while they are few.
    SuggestionSelection(int limit, const QString &after, const QString &before);

    int limit() const { return m_limit; }
    const QString &after() const { return m_after; }
    const QString &before() const { return m_before; }
    bool withinBounds(QStringView text) const;
    // A text within the bounds; a copy is made only of one that is kept.
    void offer(QStringView text);

    // Whether texts were offered that are not among the lowest and the
    // highest kept.
    bool overflowed() const { return m_overflowed; }
    // The lowest and the highest texts kept, each in ascending order.
    const QVector<QString> &lowest() const { return m_lowest; }
    const QVector<QString> &highest() const { return m_highest; }
    // Every distinct text offered, as long as there are no more than
    // s_everyPerLimit times the limit: a text a few letters long then shows
    // all its suggestions, and the texts typed after it are looked up among
    // them.
    static const int s_everyPerLimit;
    bool keepsEvery() const { return m_keepsEvery; }
    const QSet<QString> &every() const { return m_every; }

    // What another selection of the same limit and bounds kept.
    void restore(bool overflowed, const QVector<QString> &lowest, const QVector<QString> &highest, bool keepsEvery,
                 const QSet<QString> &every);
    // Adds the texts of another selection of the same bounds.
    void merge(SuggestionSelection &other);

    // The window of the texts selected and of other suggestions (the texts
    // of numbers and blobs, within the bounds, not distinct from the texts):
    // what stands certainly first and last, at most the limit of each.
    Window window(const QStringList &others) const;

private:
    // Keeps the text in a sorted vector of at most `limit` + 1 texts, the
    // lowest (or the highest) ones; false when it is no longer wanted there.
    bool keep(QVector<QString> &kept, QStringView text, bool lowest);

    int m_limit;
    QString m_after;
    QString m_before;
    QVector<QString> m_lowest;
    QVector<QString> m_highest;
    bool m_overflowed = false;
    bool m_keepsEvery = true;
    QSet<QString> m_every;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONSELECTION_H
