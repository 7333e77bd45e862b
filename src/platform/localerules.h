// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QDate;

namespace platform {

// Text to number the way the user's locale writes numbers (its decimal and
// group separators, surrounding spaces allowed). Raises 13 (type mismatch)
// when the text is not a number.
double toNumber(const QString &text);

// Lenient leading-number parse: the longest numeric prefix, "." as decimal
// point, spaces ignored; 0 when there is none. Never fails.
double leadingNumber(const QString &text);

// The user locale's date separator: the first non-letter, non-digit character
// of its numeric short date format, else "/".
QString dateSeparator();

// A date as two-digit day, two-digit month and four-digit year joined by the
// locale's date separator.
QString formatDayMonthYear(const QDate &date);

// A count with at least one digit and the user's thousands separator between
// groups of three ("###,###,##0").
QString formatGroupedCount(qint64 count);

} // namespace platform
