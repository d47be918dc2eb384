// The nearest-colour pick: the picker opens on the chip of the current
// collection that matches the host's colour best.

#include "plugin/MainWidget.h"

#include "database/DBManager.h"
#include "plugin/CollectionReadAhead.h"
#include "plugin/SelectNearestColorDialog.h"
#include "services/ColorManager.h"
#include "services/Settings.h"

#include <QDebug>
#include <QPointer>

namespace Velmar {

namespace {

// Below this distance two colours cannot be told apart: no choice is offered.
const double s_indistinguishable = 0.01;

} // namespace

void MainWidget::pickNearestColor(const QColor &color)
{
    // An invalid colour is no colour at all, not black.
    if (!color.isValid() || color == QColor(Qt::transparent))
        return;
    qDebug().noquote() << QStringLiteral("RGB(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());

    const QUuid collection = Settings::uuidOfLastUsedCollection();
    // The picker matches its colour once: what follows needs no read-ahead.
    m_readAheadColor = QColor();
    DB::ColorEntry pick;
    int exact = -1;
    QVector<QPair<double, qint64>> matches;
    CollectionReadAhead::NearestChips nearest;
    CollectionReadAhead *readAhead = readAheadFor(collection);
    if (readAhead && readAhead->takeNearestChips(color, nearest)) {
        exact = nearest.exactStatus;
        pick = nearest.exact;
        matches = nearest.matches;
    } else {
        exact = DBManager::GetColorEntryByColor(collection, color, pick);
        if (exact != 0)
            ColorManager::MatchColor(ColorManager::fromRgb(color), matchTable(), matches, s_nearestCandidates);
    }
    if (exact != 0) {
        if (matches.isEmpty())
            return;
        if (matches.size() == 1 || matches.first().first < s_indistinguishable) {
            if (DBManager::GetColorEntryById(collection, matches.first().second, pick) != 0)
                return;
        } else {
            QVector<DB::ColorEntry> candidates;
            for (const auto &match : qAsConst(matches)) {
                DB::ColorEntry entry;
                if (DBManager::GetColorEntryById(collection, match.second, entry) == 0)
                    candidates.append(entry);
            }
            if (candidates.isEmpty())
                return;
            // Window-modal over the picker. Should the picker go while the
            // choice is open, the dialog goes with it and nothing is picked.
            auto *dialog = new SelectNearestColorDialog(color, candidates, this);
            dialog->setWindowModality(Qt::WindowModal);
            const QPointer<MainWidget> alive(this);
            const int answer = dialog->exec();
            if (!alive)
                return;
            pick = dialog->selectedEntry();
            delete dialog;
            if (answer != QDialog::Accepted)
                return;
        }
    }
    // A record says whether it holds a chip by its id only.
    if (pick.id < 0)
        return;
    selectColorEntry(collection, pick);
}

} // namespace Velmar
