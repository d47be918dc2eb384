#include "database/SuggestionSelectFunction.h"

#include "database/StartsWithFunction.h"
#include "database/SuggestionSelection.h"

#include <QDataStream>
#include <QIODevice>
#include <QVarLengthArray>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace Velmar {

namespace {

const char functionName[] = "VELMAR_SUGGESTIONS";
// Prefix, limit, the two bounds, page, chip and the cards whose chips
// count: the values follow.
const int s_firstValue = 7;
const quint32 s_resultTag = 0x56534731;

QString textOf(sqlite3_value *value)
{
    const void *utf16 = sqlite3_value_text16(value);
    return utf16 ? QString(static_cast<const QChar *>(utf16), sqlite3_value_bytes16(value) / 2) : QString();
}

} // namespace

const QString SuggestionSelectFunction::Name = QString::fromLatin1(functionName);

struct SuggestionSelectFunction::State {
    State(int limit, const QString &after, const QString &before)
        : texts(limit, after, before)
    {
    }
    StartsWithFunction::Prefix prefix;
    SuggestionSelection texts;
    QVector<Other> others;
    // The cards whose chips count, ascending; every card without a list.
    bool everyCard = true;
    std::vector<qint64> cards;
};

namespace {

// The ids of "1,5,3" in ascending order; what is not a decimal number
// between the commas is left out.
std::vector<qint64> idsOf(sqlite3_value *list)
{
    std::vector<qint64> ids;
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(list));
    if (!text)
        return ids;
    const char *const end = text + sqlite3_value_bytes(list);
    ids.reserve(size_t(end - text) / 4);
    while (text < end) {
        const char *const comma = std::find(text, end, ',');
        bool ok = false;
        const qint64 id = QByteArray::fromRawData(text, int(comma - text)).toLongLong(&ok);
        if (ok)
            ids.push_back(id);
        text = comma + (comma < end ? 1 : 0);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

bool SuggestionSelectFunction::registerOn(sqlite3 *database)
{
    return database
        && sqlite3_create_function_v2(database, functionName, -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, nullptr, &SuggestionSelectFunction::step,
                                      &SuggestionSelectFunction::finish, nullptr)
        == SQLITE_OK;
}

void SuggestionSelectFunction::step(sqlite3_context *context, int count, sqlite3_value **arguments)
{
    if (count < s_firstValue + 1) {
        sqlite3_result_error(context, "VELMAR_SUGGESTIONS takes a prefix, a limit, two bounds, a page, a chip and values",
                             -1);
        return;
    }
    auto **slot = static_cast<State **>(sqlite3_aggregate_context(context, sizeof(State *)));
    if (!slot) {
        sqlite3_result_error_nomem(context);
        return;
    }
    if (!*slot) {
        *slot = new State(sqlite3_value_int(arguments[1]), textOf(arguments[2]), textOf(arguments[3]));
        (*slot)->prefix.utf16 = textOf(arguments[0]);
        (*slot)->prefix.utf8 = (*slot)->prefix.utf16.toUtf8();
        (*slot)->everyCard = sqlite3_value_type(arguments[6]) == SQLITE_NULL;
        if (!(*slot)->everyCard)
            (*slot)->cards = idsOf(arguments[6]);
    }
    State &state = **slot;
    // Whether the row's card is one whose chips count, looked at once the
    // row holds something to keep.
    int cardCounts = -1;
    const auto countsHere = [&state, &cardCounts, arguments] {
        if (cardCounts < 0) {
            cardCounts = state.everyCard
                || (sqlite3_value_type(arguments[4]) == SQLITE_INTEGER
                    && std::binary_search(state.cards.begin(), state.cards.end(), sqlite3_value_int64(arguments[4])));
        }
        return cardCounts == 1;
    };
    for (int i = s_firstValue; i < count; ++i) {
        sqlite3_value *value = arguments[i];
        const int type = sqlite3_value_type(value);
        if (type == SQLITE_NULL)
            continue;
        if (type != SQLITE_TEXT && !countsHere())
            return;
        switch (type) {
        case SQLITE_INTEGER:
            state.others.append({QVariant(qlonglong(sqlite3_value_int64(value))), sqlite3_value_int64(arguments[4]),
                                 sqlite3_value_int64(arguments[5]), i});
            continue;
        case SQLITE_FLOAT:
            state.others.append({QVariant(sqlite3_value_double(value)), sqlite3_value_int64(arguments[4]),
                                 sqlite3_value_int64(arguments[5]), i});
            continue;
        case SQLITE_BLOB: {
            const char *bytes = static_cast<const char *>(sqlite3_value_blob(value));
            state.others.append({QVariant(QByteArray(bytes, sqlite3_value_bytes(value))),
                                 sqlite3_value_int64(arguments[4]), sqlite3_value_int64(arguments[5]), i});
            continue;
        }
        default:
            break;
        }
        const int passes = StartsWithFunction::test(state.prefix, value);
        if (passes < 0) {
            sqlite3_result_error_nomem(context);
            return;
        }
        if (passes == 0)
            continue;
        if (!countsHere())
            return;
        // ASCII text, as most names and codes are, is widened in place;
        // other text is read as the driver reads it.
        const auto *utf8 = static_cast<const unsigned char *>(sqlite3_value_text(value));
        const int bytes = sqlite3_value_bytes(value);
        if (!utf8) {
            sqlite3_result_error_nomem(context);
            return;
        }
        if (bytes == 0)
            continue;
        QVarLengthArray<char16_t, 128> units(bytes);
        int ascii = 0;
        while (ascii < bytes && utf8[ascii] < 0x80) {
            units[ascii] = utf8[ascii];
            ++ascii;
        }
        if (ascii == bytes) {
            const QStringView text(units.constData(), bytes);
            if (state.texts.withinBounds(text))
                state.texts.offer(text);
            continue;
        }
        const void *utf16 = sqlite3_value_text16(value);
        if (!utf16) {
            sqlite3_result_error_nomem(context);
            return;
        }
        const QStringView text(static_cast<const char16_t *>(utf16), sqlite3_value_bytes16(value) / 2);
        if (state.texts.withinBounds(text))
            state.texts.offer(text);
    }
}

void SuggestionSelectFunction::finish(sqlite3_context *context)
{
    auto **slot = static_cast<State **>(sqlite3_aggregate_context(context, 0));
    const std::unique_ptr<State> state(slot ? *slot : nullptr);
    if (!state) {
        sqlite3_result_zeroblob(context, 0);
        return;
    }
    QByteArray result;
    {
        QDataStream out(&result, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << s_resultTag << state->texts.overflowed() << state->texts.lowest() << state->texts.highest()
            << state->texts.keepsEvery() << state->texts.every() << qint32(state->others.size());
        for (const Other &other : qAsConst(state->others))
            out << other.value << other.page << other.chip << qint32(other.column);
    }
    sqlite3_result_blob(context, result.constData(), int(result.size()), SQLITE_TRANSIENT);
}

bool SuggestionSelectFunction::read(const QByteArray &result, SuggestionSelection &texts, QVector<Other> &others)
{
    if (result.isEmpty())
        return true;
    QDataStream in(result);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 tag = 0;
    bool overflowed = false;
    QVector<QString> lowest;
    QVector<QString> highest;
    bool keepsEvery = false;
    QSet<QString> every;
    qint32 otherCount = 0;
    in >> tag >> overflowed >> lowest >> highest >> keepsEvery >> every >> otherCount;
    if (in.status() != QDataStream::Ok || tag != s_resultTag || otherCount < 0)
        return false;
    SuggestionSelection read(texts.limit(), QString(), QString());
    read.restore(overflowed, lowest, highest, keepsEvery, every);
    for (qint32 i = 0; i < otherCount; ++i) {
        Other other;
        qint32 column = 0;
        in >> other.value >> other.page >> other.chip >> column;
        other.column = column;
        if (in.status() != QDataStream::Ok)
            return false;
        others.append(other);
    }
    texts.merge(read);
    return true;
}

} // namespace Velmar
