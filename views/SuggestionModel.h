#ifndef VELMAR_SUGGESTIONMODEL_H
#define VELMAR_SUGGESTIONMODEL_H

#include "database/SuggestionList.h"

#include <QAbstractListModel>
#include <QSharedPointer>
#include <QStringList>
#include <QUuid>

namespace Velmar {

// The rows the search field's completer looks at: the collection's
// suggestions that start with the text typed, in the whole list's order.
// Until the whole list is read, each text shows those that certainly stand
// first and last among its suggestions, a screenful of each found in one
// pass, and the rows between them are looked up when the user moves on to
// them; a text that extends one whose rows were all shown is looked up
// among them. The whole list is asked for only where the order of texts
// that differ but for case decides what is shown next.
class SuggestionModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // The rows looked up at a time at either end.
    static const int s_screenful;

    explicit SuggestionModel(const QUuid &collection, QObject *parent = nullptr);
    // Fewer rows at a time show the look-ups between them on a small deck.
    void setScreenful(int rows) { m_screenful = qMax(1, rows); }

    QUuid collection() const { return m_collection; }
    bool hasWholeList() const { return !m_whole.isNull(); }
    // From then on every text is looked up in it; the rows shown are
    // looked up again.
    void setWholeList(const QSharedPointer<const SuggestionList> &list);

    // Shows the suggestions that start with the text, case ignored as
    // QString::startsWith ignores it.
    void showStartingWith(const QString &text);
    QString text() const { return m_text; }
    // Whether every row of the text is shown, not only its first and last.
    bool showsEveryRow() const;
    // The rows shown that stand first among the text's suggestions; those
    // after them stand last, with rows left out between unless every row
    // is shown.
    int firstRows() const;
    // Shows every row of the text shown, the whole list read first if need be.
    void showEveryRow();
    // Before the current row moves by one (`step` -1 or 1, wrapping at both
    // ends): shows the rows it moves to when they are left out.
    void showRowsAfterMove(int row, int step);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    // The whole list is needed now; a receiver connected directly may hand
    // it over (setWholeList), else the model reads it itself.
    void wholeListWanted(QUuid collection);

private:
    // The rows of the text, without a reset.
    void lookUp(const QString &text);
    // Looks up rows left out between the first and the last ones shown;
    // false when none could be told without the whole list.
    bool showRowsBetween(bool nextToTheFirst);
    void obtainWholeList();

    QUuid m_collection;
    int m_screenful = s_screenful;
    QSharedPointer<const SuggestionList> m_whole;
    QString m_text;
    // Whether the rows are those of m_text.
    bool m_shown = false;
    // The text the rows were looked up for without the whole list, and
    // whether they were read (not after a failed read).
    QString m_lookedText;
    bool m_looked = false;
    // The rows shown: a stretch of the whole list, or the first and the
    // last rows looked up.
    int m_firstRow = 0;
    int m_lastRow = 0;
    QStringList m_first;
    QStringList m_last;
    bool m_complete = true;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONMODEL_H
