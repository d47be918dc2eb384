#ifndef VELMAR_SUGGESTIONCOMPLETER_H
#define VELMAR_SUGGESTIONCOMPLETER_H

#include <QCompleter>
#include <QString>

class QKeyEvent;

namespace Velmar {

class SuggestionModel;

// The search field's inline completer, case ignored: each text the field
// sets as its prefix first has the model show the suggestions that start
// with it, so that Qt's own completion looks at those rows alone. Rows the
// model adds for the same text leave the current completion where it was.
class SuggestionCompleter : public QCompleter
{
    Q_OBJECT

public:
    // Takes the model as its own.
    SuggestionCompleter(SuggestionModel *model, QObject *parent = nullptr);

    SuggestionModel *suggestions() const { return m_suggestions; }

    QStringList splitPath(const QString &path) const override;

    // Before the field takes a key: when it will move the completion it
    // shows by one row (Ctrl with Up or Down), the model shows the row it
    // moves to.
    void prepareMove(const QKeyEvent &event);

private slots:
    void noteCurrentRow();
    void keepCurrentRow();

private:
    SuggestionModel *m_suggestions;
    // The current row before the model changed, how many rows it showed
    // and how many of them stood first, and for what text.
    int m_rowBefore = -1;
    int m_rowsBefore = 0;
    int m_firstRowsBefore = 0;
    QString m_textBefore;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONCOMPLETER_H
