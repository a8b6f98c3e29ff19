#include "common/numbers.h"

#include "common/readfailure.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Collects "sign digits [. digits] [e sign digits]" from the characters the
// source hands out, stopping at the first that does not fit.
template <typename Next> double readNumber(Next next, bool allowExponent)
{
    QString number;
    QChar c = next();
    if (c == u'+' || c == u'-') {
        number += c;
        c = next();
    }
    bool seenDigit = false;
    bool seenPoint = false;
    while (true) {
        if (isDigit(c)) {
            seenDigit = true;
            number += c;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            number += c;
        } else {
            break;
        }
        c = next();
    }
    if (!seenDigit)
        return 0.0;
    if (allowExponent && (c == u'e' || c == u'E')) {
        QString exponent = QStringLiteral("e");
        c = next();
        if (c == u'+' || c == u'-') {
            exponent += c;
            c = next();
        }
        bool exponentDigit = false;
        while (isDigit(c)) {
            exponentDigit = true;
            exponent += c;
            c = next();
        }
        if (exponentDigit)
            number += exponent;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

template <typename Int> Int toInteger(double value)
{
    const double rounded = Numbers::roundHalfEven(value);
    if (std::isnan(rounded) || rounded < double(std::numeric_limits<Int>::min()) ||
        rounded > double(std::numeric_limits<Int>::max()))
        throw ReadFailure(QStringLiteral("数値 %1 が扱える範囲を超えています。").arg(value, 0, 'g', 15));
    return static_cast<Int>(rounded);
}

QString formatDouble(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // never "-0"
    return QString::number(value, 'g', 15);
}

} // namespace

namespace Numbers {

double readLeading(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    return readNumber([&]() { return i < text.size() ? text.at(i++) : QChar(); }, false);
}

double readLoose(const QString &text)
{
    qsizetype i = 0;
    return readNumber(
        [&]() {
            while (i < text.size() && isBlank(text.at(i)))
                ++i;
            return i < text.size() ? text.at(i++) : QChar();
        },
        true);
}

double roundHalfEven(double value)
{
    // nearbyint follows the rounding mode, which is to-nearest-even unless
    // someone changed it; say so explicitly rather than trust that.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return rounded == 0.0 ? 0.0 : rounded;
}

qint16 toInt16(double value)
{
    return toInteger<qint16>(value);
}

qint32 toInt32(double value)
{
    return toInteger<qint32>(value);
}

QString reportText(qint64 value)
{
    return value < 0 ? QString::number(value) : QStringLiteral(" ") + QString::number(value);
}

QString reportText(double value)
{
    const QString text = formatDouble(value);
    return text.startsWith(u'-') ? text : QStringLiteral(" ") + text;
}

QString plainText(qint64 value)
{
    return QString::number(value);
}

QString plainText(double value)
{
    return formatDouble(value);
}

} // namespace Numbers
