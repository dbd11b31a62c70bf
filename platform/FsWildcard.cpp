#include "platform/FsWildcard.h"

#include <QList>

namespace platform::fs {
namespace {

// Code points after case folding: "?" must consume one character, not one UTF-16 unit.
QList<uint> foldedCodePoints(const QString& text)
{
    return text.toCaseFolded().toUcs4();
}

// Classic wildcard walk: remember the last "*" and let it swallow one more character on a mismatch.
// Linear in practice and never recursive, so hostile patterns cannot blow the stack.
bool matchesFolded(const QList<uint>& name, const QList<uint>& pattern)
{
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool matchesWindowsPattern(const QString& name, const QString& pattern)
{
    const QList<uint> foldedName = foldedCodePoints(name);
    const QList<uint> foldedPattern = foldedCodePoints(pattern);
    if (matchesFolded(foldedName, foldedPattern))
        return true;
    if (pattern.endsWith(QLatin1String(".*")))
        return matchesFolded(foldedName, foldedPattern.first(foldedPattern.size() - 2));
    return false;
}

bool sameNameIgnoringCase(const QString& a, const QString& b)
{
    return a.toCaseFolded() == b.toCaseFolded();
}

} // namespace platform::fs
