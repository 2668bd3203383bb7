// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/WebAddress.h"

#include "platform/Logging.h"

#include <QRegularExpression>

#ifndef CANTABOLA_AUTHORS_URL
#    error "CANTABOLA_AUTHORS_URL is set by the build (about/CMakeLists.txt)"
#endif

namespace cantabola {

namespace {

bool isForbidden(QChar c)
{
    if (c.unicode() <= 0x20 || c == QChar(0x7F) || c == QLatin1Char('\\') || c == QChar::ReplacementCharacter)
        return true;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool isWebScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// "www.example.com", "192.0.2.1", "localhost": what an address without a scheme must start with.
bool looksLikeHostName(const QString &host)
{
    if (host == QLatin1String("localhost"))
        return true;
    const QStringList labels = host.split(QLatin1Char('.'));
    if (labels.size() < 2)
        return false;
    for (const QString &label : labels) {
        if (label.isEmpty())
            return false;
    }
    return true;
}

// "mailto:someone@example.com", with a subject or body after "?" at most: one mailbox on a host name.
bool isMailAddress(const QUrl &url)
{
    static const QRegularExpression mailbox(QStringLiteral("^[^@/:]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+$"));
    return url.host().isEmpty() && mailbox.match(url.path()).hasMatch();
}

} // namespace

std::optional<QUrl> webAddressToOpen(const QString &address)
{
    if (address.isEmpty() || address.size() > longestWebAddress)
        return std::nullopt;
    for (const QChar c : address) {
        if (isForbidden(c))
            return std::nullopt;
    }

    // A scheme is letters, digits, "+", "-" and "." before the first colon, starting with a letter; but
    // "host:8080/page" is a host with a port, not a scheme.
    static const QRegularExpression schemePrefix(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    static const QRegularExpression portAfterHost(QStringLiteral("^[A-Za-z0-9.-]+:[0-9]+([/?#]|$)"));
    const bool hasScheme = schemePrefix.match(address).hasMatch() && !portAfterHost.match(address).hasMatch();

    const QUrl url(hasScheme ? address : QStringLiteral("http://") + address, QUrl::StrictMode);
    if (url.isValid() && url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0)
        return isMailAddress(url) ? std::optional<QUrl>(url) : std::nullopt;
    if (!url.isValid() || !isWebScheme(url.scheme()) || url.host().isEmpty())
        return std::nullopt;
    if (!hasScheme && !looksLikeHostName(url.host()))
        return std::nullopt;
    return url;
}

void OpenWebAddress(Browser &browser, const QString &address, int showMode)
{
    if (const std::optional<QUrl> url = webAddressToOpen(address))
        browser.open(*url, showMode);
    else if (!address.isEmpty())
        qCDebug(lcBanner) << "not a web address, left alone:" << address.left(200);
}

QString authorsWebAddress()
{
    return QStringLiteral(CANTABOLA_AUTHORS_URL);
}

} // namespace cantabola
