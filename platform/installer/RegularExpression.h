#ifndef PATHWARDEN_REGULAREXPRESSION_H
#define PATHWARDEN_REGULAREXPRESSION_H

#include <QString>

// ICU regular expressions, in the two ways the installer uses them. A
// pattern that ICU rejects raises InstallerException.
class RegularExpression
{
public:
    // Whether pattern matches anywhere in text.
    static bool matches(const QString &pattern, const QString &text);
    // Whether pattern matches the whole of text.
    static bool matchesEntirely(const QString &pattern, const QString &text, bool caseInsensitive = false);
    // The text of capture group `group` of the first match, or a null
    // string when nothing matches or the group took no part in the match.
    static QString firstMatchGroup(const QString &pattern, const QString &text, int group);

private:
    RegularExpression() = default;
};

#endif // PATHWARDEN_REGULAREXPRESSION_H
