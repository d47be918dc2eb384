#include "database/SuggestionOrder.h"

#include "database/InterfaceIdleGate.h"

#include <QByteArray>
#include <QChar>
#include <QMetaType>

#include <algorithm>
#include <array>
#include <vector>

namespace Velmar {

namespace {

enum StorageClass { Numeric = 1, Text = 2, Blob = 3 };

StorageClass storageClassOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return Text;
    case QMetaType::QByteArray:
        return Blob;
    default:
        return Numeric;
    }
}

// UTF-16 code units ranked as the code points they belong to: the
// surrogates, which stand for code points above the rest of the BMP, go
// above U+E000 to U+FFFF.
inline uint codePointRank(char16_t unit)
{
    if (unit < 0xD800)
        return unit;
    return unit < 0xE000 ? unit + 0x2000u : unit - 0x800u;
}

inline char16_t asciiLower(char16_t unit)
{
    return unit >= u'A' && unit <= u'Z' ? char16_t(unit + 32) : unit;
}

int compareTexts(QStringView left, QStringView right, bool ignoringAsciiCase)
{
    const qsizetype common = qMin(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        char16_t l = left.at(i).unicode();
        char16_t r = right.at(i).unicode();
        if (ignoringAsciiCase) {
            l = asciiLower(l);
            r = asciiLower(r);
        }
        if (l != r)
            return codePointRank(l) < codePointRank(r) ? -1 : 1;
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

// Simple case folding of one code unit, a low surrogate folded with the
// code point of its pair, as QString's case-insensitive comparison does it.
inline char32_t foldCase(char16_t unit, char32_t &last)
{
    char32_t ucs4 = unit;
    if (QChar::isLowSurrogate(ucs4) && QChar::isHighSurrogate(last))
        ucs4 = QChar::surrogateToUcs4(char16_t(last), unit);
    last = unit;
    if (ucs4 < 0x80)
        return ucs4 >= U'A' && ucs4 <= U'Z' ? ucs4 + 32 : ucs4;
    return QChar::toCaseFolded(ucs4);
}

} // namespace

int SuggestionOrder::compareValues(const QVariant &left, const QVariant &right, bool ignoringAsciiCase)
{
    const StorageClass leftClass = storageClassOf(left);
    const StorageClass rightClass = storageClassOf(right);
    if (leftClass != rightClass)
        return leftClass < rightClass ? -1 : 1;
    switch (leftClass) {
    case Text:
        return compareTexts(*static_cast<const QString *>(left.constData()),
                            *static_cast<const QString *>(right.constData()), ignoringAsciiCase);
    case Blob: {
        const int order = static_cast<const QByteArray *>(left.constData())->compare(
            *static_cast<const QByteArray *>(right.constData()));
        return order == 0 ? 0 : (order < 0 ? -1 : 1);
    }
    case Numeric:
        break;
    }
    const double l = left.toDouble();
    const double r = right.toDouble();
    return l == r ? 0 : (l < r ? -1 : 1);
}

QString SuggestionOrder::distinctKey(const QVariant &value, bool ignoringAsciiCase)
{
    switch (storageClassOf(value)) {
    case Text: {
        QString text = *static_cast<const QString *>(value.constData());
        if (ignoringAsciiCase) {
            for (QChar &unit : text)
                unit = QChar(asciiLower(unit.unicode()));
        }
        return QLatin1Char('t') + text;
    }
    case Blob:
        return QLatin1Char('b') + QString::fromLatin1(static_cast<const QByteArray *>(value.constData())->toHex());
    case Numeric:
        break;
    }
    const double number = value.toDouble();
    // 0 and -0 are the same number.
    return QLatin1Char('n') + QString::number(number == 0.0 ? 0.0 : number, 'g', 17);
}

bool SuggestionOrder::lessCaseInsensitive(QStringView left, QStringView right)
{
    return compareCaseInsensitive(left, right) < 0;
}

int SuggestionOrder::compareCaseInsensitive(QStringView left, QStringView right)
{
    const QChar *a = left.constData();
    const QChar *b = right.constData();
    const qsizetype common = qMin(left.size(), right.size());
    char32_t aLast = 0;
    char32_t bLast = 0;
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t aUnit = a[i].unicode();
        const char16_t bUnit = b[i].unicode();
        if (aUnit == bUnit) {
            // Equal units fold alike, whatever came before them.
            aLast = bLast = aUnit;
            continue;
        }
        const int difference = int(foldCase(aUnit, aLast)) - int(foldCase(bUnit, bLast));
        if (difference != 0)
            return difference < 0 ? -1 : 1;
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

int SuggestionOrder::compareDistinct(QStringView left, QStringView right)
{
    const int order = compareCaseInsensitive(left, right);
    return order != 0 ? order : compareTexts(left, right, false);
}

namespace {

// Texts with a key of their first code units, compared by the key before
// the texts themselves: most comparisons are decided by it, without a look
// at text scattered over the heap. The index is the text's place before
// the sort; a big deck sorts a few hundred thousand of them.
struct Keyed {
    std::array<quint64, 3> key;
    quint32 index;
};

// The first twelve code units, ranked as above, 16 bits each from the top
// of the key: texts whose keys differ are in the order of their keys.
std::array<quint64, 3> codePointKey(QStringView text)
{
    std::array<quint64, 3> key{};
    for (int i = 0; i < 12; ++i) {
        quint64 &part = key[size_t(i / 4)];
        part = (part << 16) | (i < text.size() ? codePointRank(text.at(i).unicode()) : 0u);
    }
    return key;
}

// The first nine units folded as lessCaseInsensitive folds them, 21 bits
// each: texts whose keys differ are in the order of their keys.
std::array<quint64, 3> foldedKey(QStringView text)
{
    std::array<quint64, 3> key{};
    char32_t last = 0;
    for (int i = 0; i < 9; ++i) {
        quint64 &part = key[size_t(i / 3)];
        part = (part << 21) | (i < text.size() ? quint64(foldCase(text.at(i).unicode(), last)) : 0u);
    }
    return key;
}

struct Interrupted {
};

// The places of the texts in the order of `less`, as std::sort leaves them:
// the comparisons, and so the order of equal texts, depend on nothing but
// the texts. A thread asked to stop ends the sort within a few thousand
// comparisons; false then. One that reads ahead for the interface pauses
// there while the interface is busy.
template <typename KeyOf, typename Less>
bool sortedPlaces(const QVector<QStringView> &texts, KeyOf keyOf, Less less, QVector<quint32> &places)
{
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i)
        keyed.push_back({keyOf(texts.at(i)), quint32(i)});
    unsigned comparisons = 0;
    try {
        std::sort(keyed.begin(), keyed.end(), [&](const Keyed &left, const Keyed &right) {
            if (++comparisons % 4096 == 0 && InterfaceIdleGate::stopRequested())
                throw Interrupted();
            return left.key != right.key ? left.key < right.key : less(texts.at(left.index), texts.at(right.index));
        });
    } catch (const Interrupted &) {
        return false;
    }
    places.resize(texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i)
        places[i] = keyed[size_t(i)].index;
    keyed = std::vector<Keyed>();
    return true;
}

bool codePointLess(QStringView left, QStringView right)
{
    return compareTexts(left, right, false) < 0;
}

bool foldedLess(QStringView left, QStringView right)
{
    return SuggestionOrder::lessCaseInsensitive(left, right);
}

QVector<QStringView> viewsOf(const QStringList &texts)
{
    QVector<QStringView> views;
    views.reserve(texts.size());
    for (const QString &text : texts)
        views.append(text);
    return views;
}

// The list in the order of the places; when distinct, a text equal to the
// one before it is left out.
void reorder(QStringList &texts, const QVector<quint32> &places, bool distinct)
{
    QStringList ordered;
    ordered.reserve(texts.size());
    for (quint32 place : places) {
        if (!distinct || ordered.isEmpty() || ordered.constLast() != texts.at(place))
            ordered.append(std::move(texts[place]));
    }
    texts = std::move(ordered);
}

void reorder(QVector<QStringView> &texts, const QVector<quint32> &places, bool distinct)
{
    QVector<QStringView> ordered;
    ordered.reserve(texts.size());
    for (quint32 place : places) {
        if (!distinct || ordered.isEmpty() || ordered.constLast() != texts.at(place))
            ordered.append(texts.at(place));
    }
    texts = std::move(ordered);
}

const QVector<QStringView> &viewsOf(const QVector<QStringView> &texts)
{
    return texts;
}

// The texts in the order of `less`; false, and the texts as they were, when
// the thread was asked to stop.
template <typename Texts, typename KeyOf, typename Less>
bool sortTexts(Texts &texts, KeyOf keyOf, Less less, bool distinct)
{
    QVector<quint32> places;
    if (!sortedPlaces(viewsOf(texts), keyOf, less, places))
        return false;
    reorder(texts, places, distinct);
    return true;
}

} // namespace

bool SuggestionOrder::sortDistinctByCodePoint(QStringList &texts)
{
    return sortTexts(texts, codePointKey, codePointLess, true);
}

bool SuggestionOrder::sortDistinctByCodePoint(QVector<QStringView> &texts)
{
    return sortTexts(texts, codePointKey, codePointLess, true);
}

bool SuggestionOrder::sortCaseInsensitively(QStringList &texts)
{
    return sortTexts(texts, foldedKey, foldedLess, false);
}

bool SuggestionOrder::sortCaseInsensitively(QVector<QStringView> &texts)
{
    return sortTexts(texts, foldedKey, foldedLess, false);
}

void SuggestionOrder::orderOfCaseTies(const QStringList &texts, bool &firstKnown, bool &orderKnown)
{
    firstKnown = true;
    orderKnown = true;
    for (qsizetype i = 1; i < texts.size(); ++i) {
        if (texts.at(i - 1).compare(texts.at(i), Qt::CaseInsensitive) == 0) {
            orderKnown = false;
            firstKnown = firstKnown && i > 1;
        }
    }
}

} // namespace Velmar
