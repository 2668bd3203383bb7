// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/Controls.h"

#include <QFrame>
#include <QLabel>
#include <cmath>

namespace cantabola {

ControlSet::ControlSet(QWidget *client, QString windowName)
    : m_client(client)
    , m_windowName(std::move(windowName))
{
}

void ControlSet::setTwipsPerPixel(float x, float y)
{
    m_tppX = x > 0 ? x : 15;
    m_tppY = y > 0 ? y : 15;
}

Control &ControlSet::add(const QString &name, const QString &kind, QWidget *widget, const Control *container,
                         float left, float top, float width, float height, std::optional<float> fontSize)
{
    Control &control = m_controls.emplace_back();
    control.name = name;
    control.kind = kind;
    control.widget = widget;
    control.container = container;
    control.props.left = left;
    control.props.top = top;
    control.props.width = width;
    control.props.height = height;
    control.props.fontSize = fontSize;
    if (widget)
        widget->setObjectName(name);
    place(control);
    return control;
}

QWidget *ControlSet::parentFor(const Control *container) const
{
    return container ? container->widget : m_client;
}

Control *ControlSet::find(const QString &name)
{
    for (Control &control : m_controls) {
        if (control.name == name)
            return &control;
    }
    return nullptr;
}

int ControlSet::toPixelsX(float twips) const
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / static_cast<double>(m_tppX)));
}

int ControlSet::toPixelsY(float twips) const
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / static_cast<double>(m_tppY)));
}

int ControlSet::fontPixels(float points) const
{
    return std::max(
        1, static_cast<int>(std::lround(static_cast<double>(points) * 20.0 / static_cast<double>(m_tppY))));
}

void ControlSet::place(const Control &control) const
{
    QWidget *widget = control.widget;
    if (!widget)
        return;
    // Left and Top count from the container's inner area, inside its border.
    int originX = 0;
    int originY = 0;
    if (control.container) {
        if (const auto *frame = qobject_cast<const QFrame *>(control.container->widget)) {
            originX = frame->frameWidth();
            originY = frame->frameWidth();
        }
    }
    const ScalableProps &p = control.props;
    widget->setGeometry(originX + toPixelsX(p.left.value_or(0)), originY + toPixelsY(p.top.value_or(0)),
                        std::max(0, toPixelsX(p.width.value_or(0))),
                        std::max(0, toPixelsY(p.height.value_or(0))));
    if (p.fontSize) {
        QFont font = widget->font();
        font.setPixelSize(fontPixels(*p.fontSize));
        widget->setFont(font);
    }
}

void ControlSet::placeAll() const
{
    for (const Control &control : m_controls)
        place(control);
}

void ControlSet::refit(Control &control) const
{
    if (!control.widget)
        return;
    place(control); // the font first: the caption is measured in it
    const QSize hint = control.widget->sizeHint();
    control.props.width = toTwipsX(hint.width());
    control.props.height = toTwipsY(hint.height());
    place(control);
}

std::vector<ScalableControl> ControlSet::scalableControls()
{
    std::vector<ScalableControl> result;
    result.reserve(m_controls.size());
    for (Control &control : m_controls) {
        ScalableControl entry;
        entry.kind = control.kind.toStdString();
        entry.containerName
            = control.container ? control.container->name.toStdString() : m_windowName.toStdString();
        entry.props = &control.props;
        if (control.autoSize)
            entry.refitToCaption = [this, &control] {
                refit(control);
            };
        result.push_back(std::move(entry));
    }
    return result;
}

} // namespace cantabola

#include "platform/Pictures.h"
#include "platform/QtColour.h"

#include <QVariant>

namespace cantabola {

namespace {
constexpr const char *backColourProperty = "backColour";

bool isDrawnBehind(const QString &kind)
{
    return kind == QLatin1String("label") || kind == QLatin1String("image") || kind == QLatin1String("shape");
}
} // namespace

void setForeColour(QWidget *widget, std::uint32_t colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    palette.setColor(QPalette::Text, toQColor(colour));
    palette.setColor(QPalette::ButtonText, toQColor(colour));
    widget->setPalette(palette);
    widget->setProperty("foreColour", QVariant::fromValue<quint32>(colour));
}

std::uint32_t foreColour(const QWidget *widget)
{
    const QVariant stored = widget->property("foreColour");
    if (stored.isValid())
        return stored.value<quint32>();
    return fromQColor(widget->palette().color(QPalette::WindowText));
}

void setBackColour(QWidget *widget, std::uint32_t colour, bool opaque)
{
    widget->setProperty(backColourProperty, QVariant::fromValue<quint32>(colour));
    if (!opaque) {
        widget->setAutoFillBackground(false);
        return;
    }
    // Only the widget's own background: a panel's children keep the standard colours of their kind.
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    widget->update();
}

std::uint32_t backColour(const QWidget *widget)
{
    const QVariant stored = widget->property(backColourProperty);
    if (stored.isValid())
        return stored.value<quint32>();
    return fromQColor(widget->palette().color(QPalette::Window));
}

void applyDrawingOrder(const ControlSet &controls)
{
    const auto &all = controls.all();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->widget && isDrawnBehind(it->kind))
            it->widget->raise();
    }
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->widget && !isDrawnBehind(it->kind))
            it->widget->raise();
    }
}

QFrame *makePanel(QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    // Only the panel's own background: text without a colour of its own (the delay label) keeps the
    // desktop's text colour.
    setBackColour(panel, 0x00000000, true);
    return panel;
}

QLabel *makeImage(QWidget *parent, const QString &picture)
{
    auto *image = new QLabel(parent);
    image->setPixmap(builtInPicture(picture));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    return image;
}

QLabel *makeLabel(QWidget *parent, const QString &caption, const QFont &font)
{
    auto *label = new QLabel(caption, parent);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace cantabola
