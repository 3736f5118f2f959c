#pragma once

#include <QString>

// Text as a field of a CSV file (RFC 4180): as it is, or quoted with inner quotes doubled
// when it holds a comma, a quote or a line break.
namespace CsvText
{
QString field(const QString& value);
}
