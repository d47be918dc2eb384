#ifndef VELMAR_COLLECTIONREADAHEAD_H
#define VELMAR_COLLECTIONREADAHEAD_H

#include "database/ColorEntry.h"
#include "database/ColorMatchEntry.h"
#include "database/SuggestionList.h"

#include <QColor>
#include <QMutex>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QUuid>
#include <QVector>
#include <QWaitCondition>

class QSqlDatabase;

namespace Velmar {

// Reads on a thread of its own, through a connection of its own to the
// collection's file, what a big deck makes slow: the colour-match table and
// the chips nearest to the host's colour, soon asked for after the
// collection shows, or the whole list of the search field's suggestions,
// once the field is used. The interface thread takes each result when it
// needs it and waits only for a read that is under way; a read not yet
// begun is left to the caller, so no one waits longer than reading it at
// once would take. The thread runs at the interface's priority, but reads
// only while the interface thread has nothing to do or waits for it (see
// InterfaceIdleGate): it pauses within a few hundred rows once the
// interface has an event to handle, and no other program starves it while
// the interface waits for it. Asked to stop, it ends within a few hundred
// rows, also in the middle of a sort, of a pause or of a wait for a
// writer's lock; destroying the object stops the thread and waits for it.
class CollectionReadAhead : public QThread
{
    Q_OBJECT

public:
    // What the thread reads, all copied on the interface thread before it
    // starts and never changed after.
    struct Request {
        QUuid collection;
        QString filePath;
        qint64 collectionId = -1;
        QVector<qint64> pageNameSearchOrder;
        QVector<qint64> rowNameSearchOrder;
        bool matchTable = false;
        bool suggestions = false;
        // The colour whose nearest chips are looked for; none when invalid.
        QColor pickColor;
        int pickCandidates = 0;
    };
    // What the nearest-colour pick looks up: the chip within the tolerance
    // (status 0), else the nearest candidates, nearest first.
    struct NearestChips {
        int exactStatus = -1;
        DB::ColorEntry exact;
        QVector<QPair<double, qint64>> matches;
    };

    explicit CollectionReadAhead(const Request &request, QObject *parent = nullptr);
    ~CollectionReadAhead() override;

    const Request &request() const { return m_request; }

    // Each gives its result once: true and the result when the thread read
    // it, waiting while it reads it; false when it has not begun it (the
    // thread then leaves it out), failed or was not asked for it.
    bool takeMatchTable(QVector<ColorMatchEntry> &out);
    bool takeNearestChips(const QColor &color, NearestChips &out);
    bool takeSuggestions(SuggestionList &out);

    // Asks the thread to stop within a few hundred rows; nothing can be
    // taken after. The suggestions it read and no one took are handed over
    // when asked for, to be let go of elsewhere: a big deck's take a
    // switch's time to free.
    void cancel(SuggestionList *unclaimed = nullptr);

signals:
    // Emitted on the thread once the suggestions can be taken.
    void suggestionsRead();

protected:
    void run() override;

private:
    enum Stage { StageMatchTable, StageNearestChips, StageSuggestions, StageCount };
    enum State { Pending, Running, Done, Failed, LeftOut };

    // Whether the thread goes on with the stage; it then runs.
    bool begin(Stage stage);
    // The stage's result is kept when it was read whole and nobody stopped
    // the thread meanwhile; whoever waits for it is woken either way.
    template <typename Result>
    void finish(Stage stage, bool read, const Result &result, Result &kept);
    // Waits while the stage runs; true once, when it is done, and the
    // result may be taken. A pending stage is left out.
    bool awaitDone(Stage stage);
    template <typename Result>
    bool take(Stage stage, Result &kept, Result &out);
    void readStages(const QSqlDatabase &file);

    const Request m_request;

    // Guards what follows, which both threads touch.
    QMutex m_lock;
    QWaitCondition m_stageChanged;
    State m_states[StageCount];
    // Results, read on the thread, kept until taken.
    QVector<ColorMatchEntry> m_matchTable;
    NearestChips m_nearestChips;
    SuggestionList m_suggestions;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONREADAHEAD_H
