#pragma once

#include <QHash>
#include <QStaticText>
#include <QString>
#include <QWidget>

// A traffic or status line of the data area: one line of text on an opaque background in a thin
// border. The line holds its text exactly as last set, and assistive technology reads that text
// through the line's accessible Text interface at any moment. Painting and telling assistive
// technology about a change wait for present(): a fast hold changes the text 200 times a second,
// faster than any screen refreshes or any listener can follow.
class TrafficLine : public QWidget {
    Q_OBJECT
public:
    explicit TrafficLine(const QString &spokenName, QWidget *parent = nullptr);

    QString spokenName() const { return m_spokenName; }
    const QString &text() const { return m_text; }
    // Keeps the text; the screen and assistive technology learn of it at the next present().
    void setText(const QString &text);

    bool needsRepaint() const { return m_repaintDue; }
    bool needsAnnouncing() const { return m_text != m_announced; }
    // Schedules one repaint with the text held now, if it is in view and not on screen yet;
    // false when there was nothing to paint.
    bool repaintText();
    // Sends one text-changed notification from the text last announced to the text held now.
    void announceText();

    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }
    void setSingleBorder(bool on);

signals:
    // Each announcement, whether or not assistive technology is listening at the moment.
    void announced(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool isInView() const;

    QString m_spokenName;
    QString m_text;
    QString m_announced;
    QString m_painted;
    static constexpr qsizetype MaxLayouts = 8;
    QHash<QString, QStaticText> m_layouts;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    bool m_border = false;
    bool m_repaintDue = false;
};
