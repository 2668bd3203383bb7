#include "Cantabola.h"

#include "Banner.h"
#include "CardMenu.h"
#include "FrmAbout.h"
#include "FrmBingo.h"
#include "Partida.h"

namespace cantabola {

Cantabola::Cantabola(Platform &platform)
    : m_window(std::make_unique<FrmBingo>(platform, m_scale))
    , m_partida(new Partida(*m_window))
{
    installCardWindow(*m_window);
    installAboutWindow(*m_window);
    installBanner(*m_window);
}

Cantabola::~Cantabola() = default;

bool Cantabola::start()
{
    return m_window->Load();
}

} // namespace cantabola
