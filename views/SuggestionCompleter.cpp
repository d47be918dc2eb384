#include "views/SuggestionCompleter.h"

#include "views/SuggestionModel.h"

namespace Velmar {

SuggestionCompleter::SuggestionCompleter(SuggestionModel *model, QObject *parent)
    : QCompleter(parent)
    , m_suggestions(model)
{
    model->setParent(this);
    setModel(model);
    setCompletionMode(QCompleter::InlineCompletion);
    setCaseSensitivity(Qt::CaseInsensitive);
}

QStringList SuggestionCompleter::splitPath(const QString &path) const
{
    // Called as the prefix is set, before the completion looks at the rows.
    m_suggestions->showStartingWith(path);
    return QStringList{path};
}

} // namespace Velmar
