// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the rules of scaling a window that the start-up table cannot reach: a window is scaled once in its
// life, a maximised window keeps its own geometry, only self-sizing labels on the window itself are refitted,
// and a property an object lacks is skipped.

#include "layout/Scaling.h"

#include <QTest>

using namespace cantabola;

namespace {

// A window with a few controls of different kinds, recording label re-fits.
struct FakeWindow : ScalableWindow
{
    std::string name() const override { return "FrmBingo"; }
    bool ajustado() const override { return adjusted; }
    void setAjustado(bool value) override { adjusted = value; }
    WindowState state() const override { return windowState; }
    ScalableProps &ownProps() override { return own; }
    std::vector<ScalableControl> scalableControls() override
    {
        return {{"picturebox", "FrmBingo", &panel, {}},
                {"label", "Picture1", &boardLabel,
                 [this] {
                     ++refitsInPanel;
                 }},
                {"Label", "frmbingo", &labelOnWindow,
                 [this] {
                     ++refitsOnWindow;
                 }},
                {"hscrollbar", "Picture2", &scrollBar, {}},
                {"line", "FrmBingo", nullptr, {}}};
    }

    bool adjusted = false;
    WindowState windowState = WindowState::Normal;
    ScalableProps own{8.25F, 9000, 12000, 0, 0}, panel{8.25F, 6135, 6615, 240, 600},
        boardLabel{21.75F, 495, 495, 240, 360}, labelOnWindow{9.75F, 240, 105, 2190, 1440},
        scrollBar{std::nullopt, 255, 3855, 240, 1320};
    int refitsInPanel = 0;
    int refitsOnWindow = 0;
};

} // namespace

class ScalingTest : public QObject
{
    Q_OBJECT

private slots:
    void windowIsScaledOnceWithWhatEachObjectHas_data()
    {
        QTest::addColumn<WindowState>("state");
        QTest::newRow("normal") << WindowState::Normal;
        QTest::newRow("maximised: its own geometry kept") << WindowState::Maximised;
    }
    void windowIsScaledOnceWithWhatEachObjectHas()
    {
        QFETCH(WindowState, state);
        FakeWindow window;
        window.windowState = state;
        ScaleValues values{800, 600, 0, 0};
        QVERIFY(ScaleWindowToScreen(window, values, ScreenInfo::fromPixels(1024, 768, 15)));
        QVERIFY(window.adjusted);
        QCOMPARE(*window.own.width, state == WindowState::Maximised ? 12000.0F : 15360.0F);
        QCOMPARE(*window.panel.width, 8467.2F);
        QCOMPARE(*window.scrollBar.width, 4934.4F);
        QVERIFY(!window.scrollBar.fontSize);
        QCOMPARE(window.refitsOnWindow, 1);
        QCOMPARE(window.refitsInPanel, 0);

        // A second call on another screen only recomputes the divisors.
        QVERIFY(!ScaleWindowToScreen(window, values, ScreenInfo::fromPixels(1280, 1024, 15)));
        QCOMPARE(values.ScaleX, 0.625F);
        QCOMPARE(*window.panel.width, 8467.2F);
    }
};

QTEST_APPLESS_MAIN(ScalingTest)
#include "ScalingTest.moc"
