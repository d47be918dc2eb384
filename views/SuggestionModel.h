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
// Until the whole list is read, each text is looked up on its own, and a
// text that extends the one before is looked up among that one's rows; the
// whole list is asked for only where the order of texts that differ but for
// case decides what is shown. Without the whole list, rows whose order it
// alone knows are not shown: only the first, when that one is certain.
class SuggestionModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit SuggestionModel(const QUuid &collection, QObject *parent = nullptr);

    QUuid collection() const { return m_collection; }
    bool hasWholeList() const { return !m_whole.isNull(); }
    // From then on every text is looked up in it; the rows shown are
    // looked up again.
    void setWholeList(const QSharedPointer<const SuggestionList> &list);

    // Shows the suggestions that start with the text, case ignored as
    // QString::startsWith ignores it.
    void showStartingWith(const QString &text);
    // Whether every row of the text is shown, not only its first.
    bool showsEveryRow() const;
    // Shows every row of the text shown, the whole list read first if need be.
    void showEveryRow();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    // The whole list is needed now; a receiver connected directly may hand
    // it over (setWholeList), else the model reads it itself.
    void wholeListWanted(QUuid collection);

private:
    // The rows of the text, without a reset.
    void lookUp(const QString &text);
    void obtainWholeList();

    QUuid m_collection;
    QSharedPointer<const SuggestionList> m_whole;
    QString m_text;
    // The rows shown: a stretch of the whole list, or texts looked up.
    int m_first = 0;
    int m_last = 0;
    QStringList m_rows;
    // The suggestions of the last text looked up without the whole list,
    // for the texts that extend it.
    bool m_looked = false;
    QString m_lookedText;
    QStringList m_looks;
    bool m_firstKnown = true;
    bool m_orderKnown = true;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONMODEL_H
