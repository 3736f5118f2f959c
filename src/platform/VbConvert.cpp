#include "VbConvert.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace VbConvert
{

double leadingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;

    std::string number;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += char(text[i++].unicode());
    bool digits = false;
    while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
        number += char(text[i++].unicode());
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        number += '.';
        ++i;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            number += char(text[i++].unicode());
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    // An exponent counts only when digits follow it ("2e" is 2, "2e3" is 2000).
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        bool expDigits = false;
        while (j < n && text[j].unicode() >= '0' && text[j].unicode() <= '9') {
            exponent += char(text[j++].unicode());
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value
                                : (value > 0 ? std::numeric_limits<double>::max()
                                             : std::numeric_limits<double>::lowest());
}

qint16 toInt16(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 32767.0)
        return 32767;
    if (value <= -32768.0)
        return -32768;
    // nearbyint in the default rounding mode rounds halves to the even neighbour.
    return static_cast<qint16>(std::nearbyint(value));
}

qint16 leadingInt16(const QString& text)
{
    return toInt16(leadingNumber(text));
}

std::optional<bool> toBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (ok && !std::isnan(number))
        return number != 0.0;
    return std::nullopt;
}

QString fromBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString strOf(qint16 value)
{
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

} // namespace VbConvert
