// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/FrmCartones.h"

#include "cards/CardRegistry.h"
#include "cards/SheetPrinter.h"
#include "mainwindow/MainWindow.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/Logging.h"
#include "platform/QtColour.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <functional>

namespace cantabola {

namespace {

// A card cell: a label that reports a click (press and release on the cell with the left button).
class CellLabel : public QLabel
{
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        m_pressed = event->button() == Qt::LeftButton;
        QLabel::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        const bool click
            = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
        m_pressed = false;
        QLabel::mouseReleaseEvent(event);
        if (click && onClick)
            onClick();
    }

private:
    bool m_pressed = false;
};

// The rectangle behind a card's cells: an opaque fill with a thin outline in the window-text colour.
class ShapeWidget : public QWidget
{
public:
    explicit ShapeWidget(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent * /*event*/) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// A command button whose caption wraps onto a second line when it is wider than the button, as the card
// window's narrow buttons need ("Personalizar colores" on two lines).
class WrappingButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent * /*event*/) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        painter.setPen(
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
    }
};

constexpr float buttonFontSize = 8.25F;
constexpr float cellFontSize = 24.0F;
constexpr float serialFontSize = 7.5F;
constexpr ColourValue windowDesignColour = 0x00000000;
constexpr ColourValue printedSheetColour = 0x00FFFFFF;

QString cellArrayName(int card)
{
    return card == 1 ? QStringLiteral("LblCasilla") : QStringLiteral("LblCasilla%1").arg(card);
}

} // namespace

FrmCartones::FrmCartones(MainWindow &main, CardRegistry &registry)
    : QDialog(&main.widget(),
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , ScaledWindow(*this, "FrmCartones")
    , m_main(main)
    , m_platform(main.platform())
    , m_registry(registry)
{
    setObjectName(QStringLiteral("FrmCartones"));
    setWindowTitle(QStringLiteral("Imprimir cartones"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icono.png")));
    setWindowModality(Qt::ApplicationModal);
    setFont(defaultDesignFont());
}

FrmCartones::~FrmCartones() = default;

FrmCartones::CellArray &FrmCartones::cells(int card)
{
    switch (card) {
    case 1:
        return LblCasilla;
    case 2:
        return LblCasilla2;
    case 3:
        return LblCasilla3;
    default:
        return LblCasilla4;
    }
}

void FrmCartones::showModal()
{
    if (isVisible())
        return;
    Load();
    exec();
}

void FrmCartones::Load()
{
    const ScreenInfo screen = m_platform.screen.metrics();
    buildControls(screen);

    // The design screen's controls stay as they are on a 1024 x 768 screen; any other screen scales
    // them, which the scaling does once in this window object's life.
    ScaleValues &scale = m_main.scale();
    scale.DesignWidth = 800;
    scale.DesignHeight = 600;
    if (!isDesignKeepingScreen(screen)) {
        ScaleWindowToScreen(*this, scale, screen);
        controls().placeAll();
    }

    // The main window's outer size, then the layout by the number of cards.
    const ScalableProps mainProps = m_main.outerGeometry();
    ScalableProps &props = windowProps();
    props.width = mainProps.width.value_or(12000);
    props.height = mainProps.height.value_or(9000);

    Control &frame3 = control(QStringLiteral("PctMarco(3)"));
    const CardLayout layout
        = layoutForCards(m_main.NumberOfCards(), *props.width, *props.height, frame3.props.width.value_or(0));
    for (int card = 1; card <= cardCount; ++card)
        PctMarco.at(static_cast<std::size_t>(card))
            ->setVisible(layout.frameShown.at(static_cast<std::size_t>(card - 1)));
    props.width = layout.windowWidth;
    props.height = layout.windowHeight;
    if (layout.frame3Left) {
        frame3.props.left = *layout.frame3Left;
        controls().place(frame3);
    }
    if (layout.placeButtons)
        PlaceButtons();
    // Centred on the main window at every opening.
    applyWindowGeometry([this](QSize outer) {
        const QRect owner = m_main.widget().frameGeometry();
        return QPoint(owner.x() + (owner.width() - outer.width()) / 2,
                      owner.y() + (owner.height() - outer.height()) / 2);
    });

    // A random standard colour and new numbers.
    PaintCards(false);
    FillCards();
}

void FrmCartones::buildControls(const ScreenInfo &screen)
{
    // Everything of the last opening goes; the window object itself stays.
    delete m_client;
    m_client = new QWidget(this);
    m_client->setGeometry(rect());
    ControlSet &c = resetControls(m_client, screen);
    PctMarco = {};
    ShpMarco = {};
    serialLabel = {};
    LblCasilla = {};
    LblCasilla2 = {};
    LblCasilla3 = {};
    LblCasilla4 = {};
    m_cards = standardCards();
    CardColor = 0;

    // The window's own design properties; the load sequence replaces its size.
    ScalableProps &props = windowProps();
    props = {};
    props.fontSize = buttonFontSize;
    props.width = 9510;
    props.height = 6825;
    props.left = 0;
    props.top = 0;

    const auto makeButton = [this](const QString &caption) {
        auto *button = new WrappingButton(caption, m_client);
        button->setFont(defaultDesignFont());
        return button;
    };

    // In the order of the design; it decides which of the labels and shapes of a frame is drawn in front.
    CmbElegirColor = makeButton(QStringLiteral("Personalizar colores"));
    c.add(QStringLiteral("CmbElegirColor"), QStringLiteral("commandbutton"), CmbElegirColor, nullptr, 7920,
          7560, 1095, 495, buttonFontSize);
    buildCard(4, 5880, 3960, 105);
    buildCard(3, 0, 3960, 120);
    buildCard(2, 5880, 360, 120);
    CmbPrint = makeButton(QStringLiteral("Imprimir"));
    c.add(QStringLiteral("CmbPrint"), QStringLiteral("commandbutton"), CmbPrint, nullptr, 10560, 7560, 1095,
          495, buttonFontSize);
    CmbGenerar = makeButton(QStringLiteral("Generar Cartones"));
    c.add(QStringLiteral("CmbGenerar"), QStringLiteral("commandbutton"), CmbGenerar, nullptr, 9240, 7560,
          1095, 495, buttonFontSize);
    buildCard(1, 0, 360, 120);
    applyDrawingOrder(c);

    setWindowBackground(windowDesignColour);

    // Enter presses "Imprimir", which also has the focus first.
    CmbPrint->setDefault(true);
    setTabOrder(CmbPrint, CmbGenerar);
    setTabOrder(CmbGenerar, CmbElegirColor);
    CmbPrint->setFocus();

    connect(CmbElegirColor, &QPushButton::clicked, this, &FrmCartones::CmbElegirColor_Click);
    connect(CmbGenerar, &QPushButton::clicked, this, &FrmCartones::CmbGenerar_Click);
    connect(CmbPrint, &QPushButton::clicked, this, &FrmCartones::CmbPrint_Click);

    m_client->show();
}

void FrmCartones::buildCard(int card, float left, float top, float shapeLeft)
{
    const auto index = static_cast<std::size_t>(card);
    ControlSet &c = controls();

    // The frames have no border of their own; the frame shape draws the card's outline.
    auto *frame = new QFrame(m_client);
    frame->setFrameStyle(QFrame::NoFrame);
    setBackColour(frame, designFrameColour, true);
    const Control &marco = c.add(QStringLiteral("PctMarco(%1)").arg(card), QStringLiteral("picturebox"),
                                 frame, nullptr, left, top, 5800, 2925, buttonFontSize);
    PctMarco.at(index) = frame;

    // The serial goes under the last column, between the cells and the frame's edge, in front of the shape.
    auto *serial = new QLabel(frame);
    serial->setAlignment(Qt::AlignCenter);
    serial->hide();
    c.add(QStringLiteral("serialLabel(%1)").arg(card), QStringLiteral("label"), serial, &marco, 3535, 2685,
          2000, 225, serialFontSize);
    serialLabel.at(index) = serial;

    CellArray &cellArray = cells(card);
    const QString arrayName = cellArrayName(card);
    const QFont cellFont = designFont(QStringLiteral("Impact"), cellFontSize);
    for (int k = 1; k <= cellsPerCard; ++k) {
        auto *cell = new CellLabel(frame);
        cell->setFont(cellFont);
        cell->setAlignment(Qt::AlignCenter);
        setBackColour(cell, numberCellColour, true);
        if (card == 1)
            cell->onClick = [this, k] {
                LblCasilla_Click(k);
            };
        const int column = cellColumn(k) - 1;
        const int row = cellRow(k) - 1;
        c.add(QStringLiteral("%1(%2)").arg(arrayName).arg(k), QStringLiteral("label"), cell, &marco,
              static_cast<float>(240 + 600 * column), static_cast<float>(240 + 840 * row), 495, 735,
              cellFontSize);
        cellArray.at(static_cast<std::size_t>(k)) = cell;
    }

    auto *shape = new ShapeWidget(frame);
    setBackColour(shape, designShapeColour, true);
    c.add(QStringLiteral("ShpMarco(%1)").arg(card), QStringLiteral("shape"), shape, &marco, shapeLeft, 120,
          5535, 2655);
    ShpMarco.at(index) = shape;
}

void FrmCartones::setWindowBackground(ColourValue colour)
{
    // Only the window role: the buttons keep their own face colour.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    setPalette(palette);
    setAutoFillBackground(true);
    update();
}

void FrmCartones::PlaceButtons()
{
    const Control &colour = control(QStringLiteral("CmbElegirColor"));
    const ButtonRow row
        = cantabola::PlaceButtons(windowProps().width.value_or(0), windowProps().height.value_or(0),
                                  colour.props.width.value_or(0), colour.props.height.value_or(0));
    const auto put = [this](const QString &name, ButtonPlace place) {
        Control &button = control(name);
        button.props.left = place.left;
        button.props.top = place.top;
        controls().place(button);
    };
    put(QStringLiteral("CmbElegirColor"), row.elegirColor);
    put(QStringLiteral("CmbGenerar"), row.generar);
    put(QStringLiteral("CmbPrint"), row.print);
}

void FrmCartones::PaintCards(bool UseDialogColor)
{
    if (UseDialogColor) {
        CardColor = m_dialogColour;
    } else {
        m_platform.random.reseed(m_platform.clock.secondsSinceMidnight());
        CardColor = standardCardColour(m_platform.random.next());
    }
    for (int card = 1; card <= cardCount; ++card) {
        const auto index = static_cast<std::size_t>(card);
        m_cards.at(index - 1).paint(CardColor);
        setBackColour(PctMarco.at(index), CardColor, true);
        setBackColour(ShpMarco.at(index), frameShapeColour(CardColor), true);
        for (int k = 1; k <= cellsPerCard; ++k)
            showCell(card, k);
    }
}

void FrmCartones::FillCards()
{
    cantabola::FillCards(m_cards, m_platform.random, [this](int card, int k) {
        showCell(card, k);
        cells(card).at(static_cast<std::size_t>(k))->repaint();
    });
}

void FrmCartones::showCell(int card, int k)
{
    const CardCell &model = m_cards.at(static_cast<std::size_t>(card - 1)).cell(k);
    QLabel *label = cells(card).at(static_cast<std::size_t>(k));
    label->setText(model.number ? QString::number(model.number) : QString());
    setBackColour(label, m_cards.at(static_cast<std::size_t>(card - 1)).background(k), true);
}

void FrmCartones::CmbGenerar_Click()
{
    FillCards();
}

void FrmCartones::CmbElegirColor_Click()
{
    const std::optional<QColor> chosen = m_platform.colours.chooseColour(this);
    if (!chosen)
        return; // Cancel changes nothing
    m_dialogColour = fromQColor(*chosen);
    CardColor = m_dialogColour;
    PaintCards(true);
    update();
}

void FrmCartones::LblCasilla_Click(int index)
{
    m_cards.front().mark(index);
    showCell(1, index);
}

void FrmCartones::CmbPrint_Click()
{
    const std::unique_ptr<QPrinter> printer = m_platform.printing.choosePrinter(this);
    if (!printer) {
        m_platform.messages.show(
            this, {QStringLiteral("Impresion cancelada"), app::title, MessageIcon::None, MessageButtons::Ok});
        return;
    }

    // Numbered, the sheet's serials are taken for good before it goes to the printer; a registry that fails
    // leaves the sheet without numbers.
    std::vector<qint64> serials;
    if (m_main.cardsNumbered()) {
        std::vector<Card> cards;
        for (const int card : shownCards())
            cards.push_back(m_cards.at(static_cast<std::size_t>(card - 1)));
        serials = m_registry.beginSheet(cards, m_platform.clock.dateTime(), CardColor);
    }
    showSerials(serials);

    // The sheet: the shown cards on white, without the buttons.
    setWindowBackground(printedSheetColour);
    CmbPrint->hide();
    CmbGenerar->hide();
    CmbElegirColor->hide();
    const QImage sheet = grab().toImage();
    // A printer that fails says nothing; the window stays as it is now and can only be closed, and its
    // numbers are taken off (they are not given again: some of the sheet may have printed).
    const bool printed = printOnOnePage(sheet, *printer);
    m_registry.endSheet(printed);
    if (!printed) {
        qCDebug(lcCards) << "the sheet could not be printed on" << printer->printerName()
                         << printer->outputFileName();
        showSerials({});
        return;
    }
    accept();
}

std::vector<int> FrmCartones::shownCards() const
{
    std::vector<int> shown;
    for (int card = 1; card <= cardCount; ++card) {
        if (!PctMarco.at(static_cast<std::size_t>(card))->isHidden())
            shown.push_back(card);
    }
    return shown;
}

void FrmCartones::showSerials(const std::vector<qint64> &serials)
{
    const std::vector<int> shown = shownCards();
    // Dark or light text, whichever reads on the card colour.
    const int red = static_cast<int>(CardColor & 0xFFU);
    const int green = static_cast<int>((CardColor >> 8U) & 0xFFU);
    const int blue = static_cast<int>((CardColor >> 16U) & 0xFFU);
    const ColourValue text = 299 * red + 587 * green + 114 * blue > 128000 ? 0x00000000 : 0x00FFFFFF;
    for (int card = 1; card <= cardCount; ++card) {
        QLabel *label = serialLabel.at(static_cast<std::size_t>(card));
        const auto at = std::find(shown.begin(), shown.end(), card);
        const auto index = static_cast<std::size_t>(at - shown.begin());
        if (at == shown.end() || index >= serials.size()) {
            label->hide();
            continue;
        }
        controls().place(control(label->objectName()));
        label->setText(serialText(serials[index]));
        setBackColour(label, CardColor, true);
        setForeColour(label, text);
        // Only as wide as its text, so that it hides no more of the card's outline than it must.
        const int width = label->fontMetrics().horizontalAdvance(label->text()) + label->height() / 2;
        label->setGeometry(label->geometry().right() + 1 - width, label->y(), width, label->height());
        label->show();
    }
}

void FrmCartones::keyPressEvent(QKeyEvent *event)
{
    // The window has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmCartones::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_client)
        m_client->setGeometry(rect());
}

} // namespace cantabola
