// Protects the rules of scaling a window that the start-up table cannot reach: a window is scaled once in its
// life, a maximised window keeps its own geometry, only self-sizing labels on the window itself are refitted,
// and a property an object lacks is skipped.

#include "Scaling.h"

#include <QTest>

using namespace cantabola;

namespace {

// A window with a few controls of different kinds, recording label re-fits.
class FakeWindow : public ScalableWindow
{
public:
    FakeWindow()
    {
        own = {8.25F, 9000, 12000, 0, 0};
        panel = {8.25F, 6135, 6615, 240, 600};
        boardLabel = {21.75F, 495, 495, 240, 360};
        labelOnWindow = {9.75F, 240, 105, 2190, 1440};
        scrollBar = {std::nullopt, 255, 3855, 240, 1320};
    }
    std::string name() const override { return "FrmBingo"; }
    bool ajustado() const override { return adjusted; }
    void setAjustado(bool value) override { adjusted = value; }
    WindowState state() const override { return windowState; }
    ScalableProps &ownProps() override { return own; }
    std::vector<ScalableControl> scalableControls() override
    {
        return {
            {"picturebox", "FrmBingo", &panel, {}},
            {"label", "Picture1", &boardLabel, [this] { ++refitsInPanel; }},
            {"Label", "frmbingo", &labelOnWindow, [this] { ++refitsOnWindow; }},
            {"hscrollbar", "Picture2", &scrollBar, {}},
            {"line", "FrmBingo", nullptr, {}},
        };
    }

    bool adjusted = false;
    WindowState windowState = WindowState::Normal;
    ScalableProps own, panel, boardLabel, labelOnWindow, scrollBar;
    int refitsInPanel = 0;
    int refitsOnWindow = 0;
};

ScaleValues designValues()
{
    ScaleValues values;
    values.DesignWidth = 800;
    values.DesignHeight = 600;
    return values;
}

} // namespace

class ScalingTest : public QObject
{
    Q_OBJECT

private slots:
    void missingPropertiesAreSkipped()
    {
        ScaleValues values = designValues();
        computeDivisors(values, ScreenInfo::fromPixels(1024, 768, 15));
        ScalableProps scrollBar{std::nullopt, 255, 3855, 240, 1320};
        ScaleObject(scrollBar, values);
        QVERIFY(!scrollBar.fontSize);
        QCOMPARE(*scrollBar.width, 4934.4F);
        ScalableProps nothing;
        ScaleObject(nothing, values);
        QVERIFY(!nothing.width && !nothing.left && !nothing.fontSize);
    }

    void windowIsScaledOnceAndDivisorsAreRecomputedEachCall()
    {
        FakeWindow window;
        ScaleValues values = designValues();
        QVERIFY(ScaleWindowToScreen(window, values, ScreenInfo::fromPixels(1024, 768, 15)));
        QVERIFY(window.adjusted);
        QCOMPARE(*window.panel.width, 8467.2F);
        QCOMPARE(*window.own.width, 15360.0F);

        // A second call on another screen only recomputes the divisors.
        QVERIFY(!ScaleWindowToScreen(window, values, ScreenInfo::fromPixels(1280, 1024, 15)));
        QCOMPARE(values.ScaleX, 0.625F);
        QCOMPARE(*window.panel.width, 8467.2F);
        QCOMPARE(*window.own.width, 15360.0F);
    }

    void maximisedWindowKeepsItsGeometryButItsControlsAreScaled()
    {
        FakeWindow window;
        window.windowState = WindowState::Maximised;
        ScaleValues values = designValues();
        ScaleWindowToScreen(window, values, ScreenInfo::fromPixels(1024, 768, 15));
        QCOMPARE(*window.own.width, 12000.0F);
        QCOMPARE(*window.own.fontSize, 8.25F);
        QCOMPARE(*window.panel.width, 8467.2F);
        QCOMPARE(*window.boardLabel.width, 633.6F);
    }

    void onlyLabelsPlacedOnTheWindowAreRefitted()
    {
        FakeWindow window;
        ScaleValues values = designValues();
        ScaleWindowToScreen(window, values, ScreenInfo::fromPixels(1024, 768, 15));
        QCOMPARE(window.refitsOnWindow, 1);
        QCOMPARE(window.refitsInPanel, 0);
    }

};

QTEST_APPLESS_MAIN(ScalingTest)
#include "ScalingTest.moc"
