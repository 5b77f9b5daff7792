#include "traffic_line_accessible.h"

#include "traffic_line.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

namespace {

// Read-only text: no caret, no selection, no attributes.
class TrafficLineAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TrafficLineAccessible(TrafficLine *line)
        : QAccessibleWidget(line, QAccessible::StaticText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return line()->spokenName();
        case QAccessible::Value:
            return line()->text();
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    QString text(int startOffset, int endOffset) const override
    {
        const QString &all = line()->text();
        const int start = std::clamp(startOffset, 0, int(all.size()));
        const int end =
            endOffset < 0 ? int(all.size()) : std::clamp(endOffset, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(line()->text().size()); }

    QRect characterRect(int offset) const override
    {
        const QString &all = line()->text();
        if (offset < 0 || offset >= all.size())
            return {};
        const QFontMetrics metrics(line()->font());
        const QRect area = line()->contentsRect();
        const QRect inLine(area.left() + metrics.horizontalAdvance(all.left(offset)), area.top(),
                           metrics.horizontalAdvance(all.at(offset)), metrics.height());
        return QRect(line()->mapToGlobal(inLine.topLeft()), inLine.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset) {
            if (characterRect(offset).contains(point))
                return offset;
        }
        return -1;
    }

    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    const TrafficLine *line() const { return static_cast<const TrafficLine *>(widget()); }
};

} // namespace

QAccessibleInterface *trafficLineAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(TrafficLine::staticMetaObject.className()))
        return nullptr;
    if (auto *line = qobject_cast<TrafficLine *>(object))
        return new TrafficLineAccessible(line);
    return nullptr;
}
