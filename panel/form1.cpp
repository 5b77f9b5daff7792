#include "form1.h"

// TODO(layout helper): build every control from the layout table.
Form1::Form1(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("TAVO   ZRA70_20  CONTROL   Ver.1.40"));
}
Form1::~Form1() = default;
void Form1::setViewHeight(int outerTwips) { resize(633, (outerTwips - 370) / 15); }
int Form1::viewHeight() const { return height() * 15 + 370; }
void Form1::placeAtStart() { setViewHeight(5350); }
