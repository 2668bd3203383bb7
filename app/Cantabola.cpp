#include "Cantabola.h"

#include "FrmAbout.h"
#include "FrmBingo.h"
#include "FrmCartones.h"

#include "Fonts.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>

namespace cantabola {

ApplicationSetup::ApplicationSetup()
{
    if (m_qtSpanish.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&m_qtSpanish);
    installFontSubstitutions();
}

void switchOffToolkitScaling()
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

Cantabola::Cantabola(Platform &platform)
    : m_game({platform.clock, platform.random, platform.waiter, platform.sound})
    , m_window(std::make_unique<FrmBingo>(platform, m_scale, m_game))
{
    QObject::connect(m_window.get(), &FrmBingo::cardWindowRequested, m_window.get(),
                     [this] { cardWindow().showModal(); });
    QObject::connect(m_window.get(), &FrmBingo::aboutRequested, m_window.get(),
                     [this] { showAboutWindow(*m_window); });
}

Cantabola::~Cantabola() = default;

FrmCartones &Cantabola::cardWindow()
{
    if (!m_cards)
        m_cards = new FrmCartones(*m_window);
    return *m_cards;
}

bool Cantabola::start()
{
    return m_window->Load();
}

namespace {

// Watches the window's inner area for its first paint event, then runs its action from the event loop once
// that paint is over, and goes.
class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget *area, std::function<void()> action)
        : QObject(area)
        , m_action(std::move(action))
    {
        area->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Comes back through the event loop, once the paint is over.
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return false;
    }

    void customEvent(QEvent * /*event*/) override
    {
        m_action();
        deleteLater();
    }

private:
    std::function<void()> m_action;
};

} // namespace

void Cantabola::afterFirstPaint(std::function<void()> action)
{
    new FirstPaintWatch(m_window->centralWidget(), std::move(action));
}

} // namespace cantabola
