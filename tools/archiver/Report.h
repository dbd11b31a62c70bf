#pragma once

#include <QString>

// One line on stderr, headed by the program's name; the archiver's only way of talking.
void report(const QString& message);
