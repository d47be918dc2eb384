#include "views/SuggestionCompleter.h"

#include "views/SuggestionModel.h"

#include <QDebug>
#include <QKeyEvent>
#include <QLineEdit>

namespace Velmar {

SuggestionCompleter::SuggestionCompleter(SuggestionModel *model, QObject *parent)
    : QCompleter(parent)
    , m_suggestions(model)
{
    model->setParent(this);
    setModel(model);
    setCompletionMode(QCompleter::InlineCompletion);
    setCaseSensitivity(Qt::CaseInsensitive);
    // After the completer's own handling of a reset, which starts the
    // completion over from the first row.
    const bool connected = connect(model, SIGNAL(modelAboutToBeReset()), this, SLOT(noteCurrentRow()))
        && connect(model, SIGNAL(modelReset()), this, SLOT(keepCurrentRow()));
    if (!connected)
        qDebug() << "SuggestionCompleter: a connection failed";
}

QStringList SuggestionCompleter::splitPath(const QString &path) const
{
    // Called as the prefix is set, before the completion looks at the rows.
    m_suggestions->showStartingWith(path);
    return QStringList{path};
}

void SuggestionCompleter::prepareMove(const QKeyEvent &event)
{
    const auto *field = qobject_cast<const QLineEdit *>(widget());
    const int key = event.key();
    if (!field || (key != Qt::Key_Up && key != Qt::Key_Down) || !(event.modifiers() & Qt::ControlModifier))
        return;
    // The field moves only from the completion it shows, with nothing typed
    // after it; else it completes its text anew.
    const QString text = field->text();
    const bool selected = field->hasSelectedText();
    if (selected && field->selectionEnd() < text.size())
        return;
    const QString prefix = selected ? text.left(field->selectionStart()) : text;
    if (text.compare(currentCompletion(), caseSensitivity()) != 0
        || prefix.compare(completionPrefix(), caseSensitivity()) != 0)
        return;
    m_suggestions->showRowsAfterMove(currentRow(), key == Qt::Key_Up ? -1 : 1);
}

void SuggestionCompleter::noteCurrentRow()
{
    m_rowBefore = currentRow();
    m_rowsBefore = m_suggestions->rowCount();
    m_firstRowsBefore = m_suggestions->firstRows();
    m_textBefore = m_suggestions->text();
}

void SuggestionCompleter::keepCurrentRow()
{
    // The same text's rows: those that stood first keep their rows, those
    // that stood last keep their distance from the end.
    if (m_rowBefore <= 0 || m_suggestions->text() != m_textBefore || completionPrefix() != m_textBefore)
        return;
    const int row = m_rowBefore < m_firstRowsBefore ? m_rowBefore : m_rowBefore + m_suggestions->rowCount() - m_rowsBefore;
    setCurrentRow(row);
}

} // namespace Velmar
