#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

// Splits one item line of a skin file. Characters with codes 0 to 32 before an item are skipped; an
// item starting with a double quote runs to the next single double quote ("" inside stands for one);
// any other item runs up to `separator`, a character below 32 or the end, keeping its inner and
// trailing blanks. A separator at the very end adds no empty item.
void SplitItems(QStringList& list, const QString& text, QChar separator);

// The integer items of skin files: optional leading blanks, an optional sign, then decimal digits
// or hexadecimal digits after "$", "x", "X", "0x" or "0X", and nothing after. The value must fit in
// 32 bits; a hexadecimal value may use all 32 bits and then reads as negative.
std::optional<qint32> parseSkinInteger(const QString& text);
