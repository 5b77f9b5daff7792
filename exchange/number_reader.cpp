#include "number_reader.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

namespace {

// Hands out the characters of the text one at a time, passing over the blanks, tabs and line
// feeds that may stand anywhere in a number. The end of the text reads as NUL, which fits
// nothing and so ends the reading like any other stop character.
class NumberScanner {
public:
    explicit NumberScanner(QStringView text)
        : m_text(text)
    {
    }

    char16_t peek()
    {
        while (m_pos < m_text.size() && isSkipped(m_text[m_pos].unicode()))
            ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos].unicode() : u'\0';
    }
    void advance() { ++m_pos; }

    bool accept(char16_t c)
    {
        if (peek() != c)
            return false;
        advance();
        return true;
    }

    // Appends the run of decimal digits that follows.
    void takeDigits(std::string &out)
    {
        for (char16_t c = peek(); c >= u'0' && c <= u'9'; c = peek()) {
            out += char(c);
            advance();
        }
    }

private:
    static bool isSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

    QStringView m_text;
    qsizetype m_pos = 0;
};

int digitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Integer-literal typing: the narrowest of 16 and 32 bits that holds the digits, read as two's
// complement; wider literals keep their unsigned value.
double typedLiteralValue(double unsignedValue)
{
    constexpr double Bits16 = 65536.0;
    constexpr double Bits32 = 4294967296.0;
    if (unsignedValue < Bits16)
        return unsignedValue >= Bits16 / 2 ? unsignedValue - Bits16 : unsignedValue;
    if (unsignedValue < Bits32)
        return unsignedValue >= Bits32 / 2 ? unsignedValue - Bits32 : unsignedValue;
    return unsignedValue;
}

// After "&": "H" or "O" and the digits of that radix. The value is accumulated in a double,
// exact up to 53 bits, which is far more than the literal typing distinguishes.
double readRadixLiteral(NumberScanner &in)
{
    int radix = 0;
    const char16_t letter = in.peek();
    if (letter == u'H' || letter == u'h')
        radix = 16;
    else if (letter == u'O' || letter == u'o')
        radix = 8;
    else
        return 0.0;
    in.advance();

    double value = 0.0;
    for (int digit = digitValue(in.peek()); digit >= 0 && digit < radix;
         digit = digitValue(in.peek())) {
        value = value * radix + digit;
        in.advance();
    }
    return typedLiteralValue(value);
}

// Reads the exponent digits, saturating far beyond any exponent a double can use so that a
// long run of digits cannot overflow the integer.
std::int64_t readExponent(NumberScanner &in)
{
    constexpr std::int64_t Saturation = 1'000'000'000;
    bool negative = false;
    if (in.accept(u'-'))
        negative = true;
    else
        in.accept(u'+');
    std::int64_t exponent = 0;
    for (char16_t c = in.peek(); c >= u'0' && c <= u'9'; c = in.peek()) {
        if (exponent < Saturation)
            exponent = exponent * 10 + (c - u'0');
        in.advance();
    }
    return negative ? -exponent : exponent;
}

bool isExponentLetter(char16_t c)
{
    return c == u'E' || c == u'e' || c == u'D' || c == u'd';
}

// Decimal power of the leading significant digit of integerDigits.fractionDigits, or nothing
// when every digit is zero.
std::optional<std::int64_t> leadingPower(const std::string &integerDigits,
                                         const std::string &fractionDigits)
{
    const auto firstInteger = integerDigits.find_first_not_of('0');
    if (firstInteger != std::string::npos)
        return std::int64_t(integerDigits.size() - firstInteger) - 1;
    const auto firstFraction = fractionDigits.find_first_not_of('0');
    if (firstFraction != std::string::npos)
        return -std::int64_t(firstFraction) - 1;
    return std::nullopt;
}

double readDecimal(NumberScanner &in)
{
    bool negative = false;
    if (in.accept(u'-'))
        negative = true;
    else
        in.accept(u'+');

    std::string integerDigits;
    std::string fractionDigits;
    in.takeDigits(integerDigits);
    if (in.accept(u'.'))
        in.takeDigits(fractionDigits);
    if (integerDigits.empty() && fractionDigits.empty())
        return 0.0;

    std::int64_t exponent = 0;
    if (isExponentLetter(in.peek())) {
        in.advance();
        exponent = readExponent(in);
    }

    const double sign = negative ? -1.0 : 1.0;
    const auto power = leadingPower(integerDigits, fractionDigits);
    if (!power)
        return 0.0;
    // Decide plainly out-of-range magnitudes here rather than printing a huge exponent.
    constexpr std::int64_t BeyondDouble = 400;
    const std::int64_t magnitude = *power + exponent;
    if (magnitude > BeyondDouble)
        return sign * std::numeric_limits<double>::infinity();
    if (magnitude < -BeyondDouble)
        return sign * 0.0;

    // from_chars, unlike strtod, does not depend on the process locale's decimal point.
    std::string literal = integerDigits.empty() ? std::string("0") : integerDigits;
    if (!fractionDigits.empty())
        literal += '.' + fractionDigits;
    literal += 'e' + std::to_string(exponent);
    double value = 0.0;
    const auto result = std::from_chars(literal.data(), literal.data() + literal.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return magnitude > 0 ? sign * std::numeric_limits<double>::infinity() : sign * 0.0;
    return sign * value;
}

} // namespace

double readNumber(QStringView text)
{
    NumberScanner in(text);
    if (in.accept(u'&'))
        return readRadixLiteral(in);
    return readDecimal(in);
}
