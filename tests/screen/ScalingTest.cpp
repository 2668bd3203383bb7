// The scaling arithmetic on its own: divisors for each kind of screen, what a scaled object becomes, and the
// once-only rule of a window.

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
    void divisorsFollowTheScreen_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<float>("twipsPerPixel");
        QTest::addColumn<float>("scaleX");
        QTest::addColumn<float>("scaleY");
        QTest::newRow("800x600 at 15") << 800 << 600 << 15.0F << 1.0F << 1.0F;
        QTest::newRow("1024x768 at 15") << 1024 << 768 << 15.0F << 0.78125F << 0.78125F;
        QTest::newRow("800x600 at 12") << 800 << 600 << 12.0F << 1.25F << 1.25F;
        QTest::newRow("1280x1024 at 15") << 1280 << 1024 << 15.0F << 0.625F << 0.5859375F;
        QTest::newRow("1024x768 at 12") << 1024 << 768 << 12.0F << 0.9765625F << 0.9765625F;
    }
    void divisorsFollowTheScreen()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(float, twipsPerPixel);
        QFETCH(float, scaleX);
        QFETCH(float, scaleY);
        ScaleValues values = designValues();
        computeDivisors(values, ScreenInfo::fromPixels(width, height, twipsPerPixel));
        QCOMPARE(values.ScaleX, scaleX);
        QCOMPARE(values.ScaleY, scaleY);
    }

    void scaledObjectGrowsByTheInverseDivisors()
    {
        // 1024 x 768 at 15: every length grows by 1.28.
        ScaleValues values = designValues();
        computeDivisors(values, ScreenInfo::fromPixels(1024, 768, 15));
        ScalableProps label{21.75F, 495, 495, 240, 360};
        ScaleObject(label, values);
        QCOMPARE(*label.width, 633.6F);
        QCOMPARE(*label.height, 633.6F);
        QCOMPARE(*label.left, 307.2F);
        QCOMPARE(*label.top, 460.8F);
        QCOMPARE(*label.fontSize, 27.84F);

        // 800 x 600 at 12: everything shrinks to 0.8.
        computeDivisors(values, ScreenInfo::fromPixels(800, 600, 12));
        ScalableProps small{21.75F, 495, 495, 240, 360};
        ScaleObject(small, values);
        QCOMPARE(*small.width, 396.0F);
        QCOMPARE(*small.left, 192.0F);
        QCOMPARE(*small.fontSize, 17.4F);
    }

    void fontFollowsTheHorizontalDivisorOnly()
    {
        ScaleValues values = designValues();
        computeDivisors(values, ScreenInfo::fromPixels(1280, 1024, 15));
        ScalableProps label{10.0F, 600, 600, 600, 600};
        ScaleObject(label, values);
        QCOMPARE(*label.fontSize, 16.0F);
        QCOMPARE(*label.width, 960.0F);
        QCOMPARE(*label.left, 960.0F);
        QVERIFY(qAbs(*label.height - 1024.0F) < 0.01F);
        QVERIFY(qAbs(*label.top - 1024.0F) < 0.01F);
    }

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

    void designScreenChangesNothingAndLeavesWindowUnadjusted()
    {
        FakeWindow window;
        ScaleValues values = designValues();
        QVERIFY(!ScaleWindowToScreen(window, values, ScreenInfo::fromPixels(800, 600, 15)));
        QCOMPARE(values.ScaleX, 1.0F);
        QCOMPARE(values.ScaleY, 1.0F);
        QVERIFY(!window.adjusted);
        QCOMPARE(*window.panel.width, 6615.0F);
        QCOMPARE(*window.own.width, 12000.0F);
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

    void tooSmallScreensAreRefused_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<float>("twipsPerPixel");
        QTest::addColumn<bool>("refused");
        QTest::newRow("640 at 15") << 640 << 15.0F << true;
        QTest::newRow("641 at 15") << 641 << 15.0F << false;
        QTest::newRow("640 at 12") << 640 << 12.0F << true;
        QTest::newRow("641 at 12") << 641 << 12.0F << false;
        QTest::newRow("800 at 12 (9600 twips)") << 800 << 12.0F << false;
        QTest::newRow("320 at 15") << 320 << 15.0F << true;
        QTest::newRow("600 at 10") << 600 << 10.0F << true;
        QTest::newRow("1920 at 15") << 1920 << 15.0F << false;
    }
    void tooSmallScreensAreRefused()
    {
        QFETCH(int, width);
        QFETCH(float, twipsPerPixel);
        QFETCH(bool, refused);
        QCOMPARE(screenTooSmall(ScreenInfo::fromPixels(width, 480, twipsPerPixel)), refused);
    }

    void onlyTheDesignScreenKeepsTheDesign()
    {
        QVERIFY(isDesignKeepingScreen(ScreenInfo::fromPixels(1024, 768, 15)));
        QVERIFY(!isDesignKeepingScreen(ScreenInfo::fromPixels(1024, 768, 12)));
        QVERIFY(!isDesignKeepingScreen(ScreenInfo::fromPixels(1024, 600, 15)));
        QVERIFY(!isDesignKeepingScreen(ScreenInfo::fromPixels(800, 600, 15)));
    }
};

QTEST_APPLESS_MAIN(ScalingTest)
#include "ScalingTest.moc"
