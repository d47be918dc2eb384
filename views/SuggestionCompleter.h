#ifndef VELMAR_SUGGESTIONCOMPLETER_H
#define VELMAR_SUGGESTIONCOMPLETER_H

#include <QCompleter>

namespace Velmar {

class SuggestionModel;

// The search field's inline completer, case ignored: each text the field
// sets as its prefix first has the model show the suggestions that start
// with it, so that Qt's own completion looks at those rows alone.
class SuggestionCompleter : public QCompleter
{
    Q_OBJECT

public:
    // Takes the model as its own.
    SuggestionCompleter(SuggestionModel *model, QObject *parent = nullptr);

    SuggestionModel *suggestions() const { return m_suggestions; }

    QStringList splitPath(const QString &path) const override;

private:
    SuggestionModel *m_suggestions;
};

} // namespace Velmar

#endif // VELMAR_SUGGESTIONCOMPLETER_H
