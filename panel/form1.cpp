#include "form1.h"

#include "layout_table.h"
#include "panel_geometry.h"
#include "panel_widgets.h"
#include "traffic_line.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

void setColours(QWidget *widget, QPalette::ColorRole backRole, QPalette::ColorRole textRole,
                const layout::ControlSpec &row)
{
    QPalette palette = widget->palette();
    if (const QColor back = panelColour(row.background); back.isValid())
        palette.setColor(backRole, back);
    if (const QColor text = panelColour(row.text); text.isValid())
        palette.setColor(textRole, text);
    widget->setPalette(palette);
}

const layout::SpokenName *spokenNameOf(const char *name)
{
    for (const layout::SpokenName &row : layout::spokenNames()) {
        if (std::strcmp(row.name, name) == 0)
            return &row;
    }
    return nullptr;
}

// A caption label or a traffic line, aligned, bordered and coloured as its row says.
template <typename Label> Label *styledLabel(Label *label, const layout::ControlSpec &row)
{
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (row.notes & layout::Centred)
        horizontal = Qt::AlignHCenter;
    else if (row.notes & layout::RightAligned)
        horizontal = Qt::AlignRight;
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setSingleBorder(row.notes & layout::SingleBorder);
    setColours(label, QPalette::Window, QPalette::WindowText, row);
    return label;
}

QWidget *createControl(const layout::ControlSpec &row, QWidget *container)
{
    using enum layout::Kind;
    const QString caption = QString::fromUtf8(row.caption);
    switch (row.kind) {
    case Button: {
        auto *button = new PanelButton(caption, container);
        button->setFocusPolicy(Qt::StrongFocus);
        setColours(button, QPalette::Button, QPalette::ButtonText, row);
        return button;
    }
    case Label: {
        const layout::SpokenName *spoken = spokenNameOf(row.name);
        if (spoken && spoken->announcesText)
            return styledLabel(new TrafficLine(QString::fromUtf8(spoken->spoken), container), row);
        return styledLabel(new PanelLabel(caption, container), row);
    }
    case Frame: {
        auto *frame = new PanelFrame(container);
        setColours(frame, QPalette::Window, QPalette::WindowText, row);
        return frame;
    }
    case Option: {
        auto *option = new QRadioButton(caption, container);
        option->setAutoFillBackground(true);
        option->setBackgroundRole(QPalette::Window);
        option->setForegroundRole(QPalette::WindowText);
        option->setChecked(row.notes & layout::SelectedAtStart);
        setColours(option, QPalette::Window, QPalette::WindowText, row);
        return option;
    }
    case TextBox: {
        auto *box = new QLineEdit(container);
        setColours(box, QPalette::Base, QPalette::Text, row);
        return box;
    }
    case Picture:
        return new PanelPicture(QPixmap(QStringLiteral(":/panel/image1.png")), container);
    }
    return nullptr;
}

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TAVO   ZRA70_20  CONTROL   Ver.1.40"));
    setFont(panelFont({layout::Face::Window, 9, false}));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, panelColour(layout::Colour::Silver));
    setPalette(palette);
    setAutoFillBackground(true);

    buildFromLayout();
    findControls();
    setViewHeight(kFullHeightTwips);
}

Form1::~Form1() = default;

void Form1::buildFromLayout()
{
    QHash<QString, QWidget *> &built = m_built;
    std::multimap<int, QWidget *> focusOrder;
    for (const layout::ControlSpec &row : layout::controls()) {
        QWidget *container = row.container ? built.value(QLatin1String(row.container)) : this;
        Q_ASSERT(container);
        QWidget *widget = createControl(row, container);
        const QString name = QLatin1String(row.name);
        widget->setObjectName(name);
        widget->setGeometry(twipsToPixels(row.left, row.top, row.width, row.height));
        widget->setFont(panelFont(row.font));
        if (row.notes & layout::HiddenAtStart)
            widget->hide();
        if (const layout::SpokenName *spoken = spokenNameOf(row.name);
            spoken && !spoken->announcesText)
            widget->setAccessibleName(QString::fromUtf8(spoken->spoken));
        // Five groups hold an "ON" button: a group is announced by its centred title.
        if (row.kind == layout::Kind::Label && (row.notes & layout::Centred) && row.container)
            container->setAccessibleName(QString::fromUtf8(row.caption));
        if (widget->focusPolicy() != Qt::NoFocus)
            focusOrder.emplace(row.tab, widget);
        built.insert(name, widget);
    }

    for (const layout::LineSpec &row : layout::lines()) {
        const QLine line(twipsToPixels(row.x1), twipsToPixels(row.y1), twipsToPixels(row.x2),
                         twipsToPixels(row.y2));
        auto *widget =
            new PanelLine(line, layout::kLineWidthPixels, panelColour(layout::kLineColour), this);
        widget->setObjectName(QLatin1String(row.name));
        built.insert(widget->objectName(), widget);
    }

    // Earlier in the stacking list lies on top; labels, the picture and the lines lie beneath
    // everything else in their container, the lines lowest.
    const auto stacking = layout::stackingOrder();
    std::for_each(stacking.rbegin(), stacking.rend(),
                  [&](const char *name) { built.value(QLatin1String(name))->raise(); });
    for (const layout::ControlSpec &row : layout::controls()) {
        if (row.kind == layout::Kind::Label || row.kind == layout::Kind::Picture)
            built.value(QLatin1String(row.name))->lower();
    }
    for (const layout::LineSpec &row : layout::lines())
        built.value(QLatin1String(row.name))->lower();

    QWidget *previous = nullptr;
    for (const auto &[tab, widget] : focusOrder) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
    focusOrder.begin()->second->setFocus(Qt::OtherFocusReason);
}

void Form1::findControls()
{
    const auto find = [this]<typename T>(T *&slot, const char *name) {
        slot = qobject_cast<T *>(m_built.value(QLatin1String(name)));
        Q_ASSERT(slot);
    };
    Controls &c = m_controls;
    find(c.Label11, "Label11");
    find(c.Label12, "Label12");
    find(c.Label22, "Label22");
    find(c.Frame8, "Frame8");
    find(c.Option1, "Option1");
    find(c.Option2, "Option2");
    find(c.Option9, "Option9");
    find(c.Option10, "Option10");
    find(c.Command16, "Command16");
    find(c.Command33, "Command33");
    find(c.Command34, "Command34");
    find(c.Command95, "Command95");
    find(c.Command96, "Command96");
    find(c.Text1, "Text1");
    find(c.Image1, "Image1");
}

QPushButton *Form1::button(const char *name) const
{
    return qobject_cast<QPushButton *>(m_built.value(QLatin1String(name)));
}

void Form1::setViewHeight(int outerTwips)
{
    m_viewHeightTwips = outerTwips;
    setFixedSize(kClientWidthPixels, clientHeightPixels(outerTwips));
}

int Form1::viewHeight() const
{
    return m_viewHeightTwips;
}

void Form1::placeAtStart()
{
    // Before the window is first shown its frame is unknown and the outer size is the client's.
    const QSize frameExtra = frameGeometry().size() - size();
    const QSize fullOuter(kClientWidthPixels + frameExtra.width(),
                          clientHeightPixels(kFullHeightTwips) + frameExtra.height());
    const QRect screenRect = screen() ? screen()->geometry() : QRect();
    move(startPosition(screenRect, fullOuter));
    setViewHeight(kCompactHeightTwips);
}

void Form1::setToggleCaption(const QString &caption)
{
    m_controls.Command34->setText(caption);
}

void Form1::showToggle()
{
    m_controls.Command34->show();
}

void Form1::hidePortPanel()
{
    m_controls.Frame8->hide();
}

void Form1::showPortPanel()
{
    m_controls.Frame8->show();
}

void Form1::markPortOption(int number)
{
    QRadioButton *option = number == PortSetup::FirstPort ? m_controls.Option1 : m_controls.Option2;
    const QSignalBlocker quiet(option);
    option->setChecked(true);
}

void Form1::showWarning(const QString &text)
{
    if (m_onWarning)
        m_onWarning(text);
    else
        QMessageBox::warning(this, windowTitle(), text);
}
