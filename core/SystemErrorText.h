#pragma once

#include <QString>

// A system error number (errno) in the user's words, for the messages of the program.
QString systemErrorInWords(int error);
