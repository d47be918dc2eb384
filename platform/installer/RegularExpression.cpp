#include "RegularExpression.h"

#include "InstallerException.h"

#include <unicode/uregex.h>
#include <unicode/utypes.h>

#include <map>
#include <memory>
#include <utility>

namespace {

struct RegexCloser
{
    void operator()(URegularExpression *regex) const { uregex_close(regex); }
};
using RegexHandle = std::unique_ptr<URegularExpression, RegexCloser>;

const UChar *utf16(const QString &text)
{
    static_assert(sizeof(UChar) == sizeof(QChar), "ICU and Qt share UTF-16 code units");
    return reinterpret_cast<const UChar *>(text.utf16());
}

[[noreturn]] void raise(const QString &pattern, UErrorCode status)
{
    throw InstallerException(QStringLiteral("NSInvalidArgumentException"),
                             QStringLiteral("Can't use regular expression \"%1\": %2")
                                 .arg(pattern, QString::fromLatin1(u_errorName(status))));
}

// Program output is matched line by line against a few patterns, so each
// thread keeps the patterns it compiled.
struct CompiledPatterns
{
    std::map<std::pair<QString, uint32_t>, RegexHandle> regexes;
};

// The compiled pattern, set over text; text must outlive the use.
URegularExpression *open(const QString &pattern, const QString &text, uint32_t flags)
{
    static thread_local CompiledPatterns compiled;
    const std::pair<QString, uint32_t> key(pattern, flags);
    auto found = compiled.regexes.find(key);
    if (found == compiled.regexes.end()) {
        UErrorCode status = U_ZERO_ERROR;
        UParseError parseError;
        RegexHandle regex(uregex_open(utf16(pattern), int32_t(pattern.size()), flags, &parseError, &status));
        if (U_FAILURE(status))
            raise(pattern, status);
        if (compiled.regexes.size() >= 64)
            compiled.regexes.clear();
        found = compiled.regexes.emplace(key, std::move(regex)).first;
    }
    URegularExpression *regex = found->second.get();
    UErrorCode status = U_ZERO_ERROR;
    uregex_setText(regex, utf16(text), int32_t(text.size()), &status);
    if (U_FAILURE(status))
        raise(pattern, status);
    return regex;
}

} // namespace

bool RegularExpression::matches(const QString &pattern, const QString &text)
{
    URegularExpression *regex = open(pattern, text, 0);
    UErrorCode status = U_ZERO_ERROR;
    const bool found = uregex_find(regex, 0, &status);
    if (U_FAILURE(status))
        raise(pattern, status);
    return found;
}

bool RegularExpression::matchesEntirely(const QString &pattern, const QString &text, bool caseInsensitive)
{
    URegularExpression *regex = open(pattern, text, caseInsensitive ? UREGEX_CASE_INSENSITIVE : 0);
    UErrorCode status = U_ZERO_ERROR;
    const bool found = uregex_matches(regex, 0, &status);
    if (U_FAILURE(status))
        raise(pattern, status);
    return found;
}

QString RegularExpression::firstMatchGroup(const QString &pattern, const QString &text, int group)
{
    URegularExpression *regex = open(pattern, text, 0);
    UErrorCode status = U_ZERO_ERROR;
    if (!uregex_find(regex, 0, &status) || U_FAILURE(status)) {
        if (U_FAILURE(status))
            raise(pattern, status);
        return QString();
    }
    if (group > uregex_groupCount(regex, &status))
        raise(pattern, U_INDEX_OUTOFBOUNDS_ERROR);
    const int32_t start = uregex_start(regex, group, &status);
    const int32_t end = uregex_end(regex, group, &status);
    if (U_FAILURE(status))
        raise(pattern, status);
    if (start < 0)
        return QString();
    return text.mid(start, end - start);
}
