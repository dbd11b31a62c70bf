#pragma once

#include <QString>

// Windows search patterns ("*.zip", "0*.*", "tr?.frd") applied to one entry name.
namespace platform::fs {

// Whether `name` matches `pattern`: "*" stands for any run of characters, "?" for exactly one,
// letters compare without regard to case (Unicode case folding). As on Windows, a trailing ".*"
// also accepts names without any dot, so "*.*" matches every name and "0*.*" matches "0Tr".
bool matchesWindowsPattern(const QString& name, const QString& pattern);

// Whether two entry names are the same name to Windows, that is equal without regard to letter case.
bool sameNameIgnoringCase(const QString& a, const QString& b);

} // namespace platform::fs
