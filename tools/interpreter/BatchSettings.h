#pragma once

#include <QString>

// The settings of a batch, kept in the ".pif" file of the same name: an INI file whose [Batch]
// section holds Timeout=<seconds>, the longest a program line may run before it is killed.
namespace interpreter {

constexpr int defaultTimeoutSeconds = 600;

// The Timeout of `pifPath`; the default when the file, the section or the key is missing, or when
// the value is not a positive whole number.
int readTimeoutSeconds(const QString& pifPath);

} // namespace interpreter
