#pragma once

#include <QStringView>

// The numeric value at the start of a text, read the way the pressure query expects its reply:
//
// - blanks, tabs and line feeds are skipped wherever they stand, also between digits;
// - a decimal number: an optional sign, digits with an optional decimal point and further
//   digits, and an optional exponent (E or D in either case, an optional sign, digits);
// - or "&H" / "&O" (either case) and hexadecimal / octal digits (either case), no sign;
// - reading stops at the first character that fits none of these; no number gives 0.
//
// Hexadecimal and octal literals follow integer-literal typing: a value up to 16 bits is a
// 16-bit two's-complement integer ("&HFFFF" is -1, "&H8000" is -32768), up to 32 bits a
// 32-bit one ("&H10000" is 65536, "&HFFFFFFFF" is -1), and anything longer reads as its plain
// unsigned value. Decimal values too large for a double read as an infinity, too small as 0.
double readNumber(QStringView text);
