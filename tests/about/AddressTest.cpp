// SPDX-License-Identifier: GPL-3.0-or-later
// Protects which addresses reach the browser, and how the first field of an address file is read.

#include "about/AddressFile.h"
#include "about/WebAddress.h"
#include "support/FakePlatform.h"

#include <QTemporaryFile>
#include <QTest>

using namespace cantabola;

class AddressTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyWebPagesAndMailAddressesAreOpened_data()
    {
        QTest::addColumn<QByteArray>("address"); // UTF-8, as an address file holds it
        QTest::addColumn<QString>("opened"); // empty: nothing is opened
        const QByteArray page = "http://patrocinador.example/";
        const auto row = [](const char *name, const QByteArray &address, const char *opened) {
            QTest::newRow(name) << address << QString::fromUtf8(opened);
        };
        row("scheme in capitals", "HTTP://tienda.example/", "http://tienda.example/");
        row("no scheme", "www.tienda.example/", "http://www.tienda.example/");
        row("no scheme, host and port", "tienda.example:8080/x", "http://tienda.example:8080/x");
        row("no scheme, localhost", "localhost:8080", "http://localhost:8080");
        for (const char *address : {"https://tienda.example/o?a=1,2#hoy", "http://panadería.example/",
                                    "mailto:juan@tienda.example", "mailto:juan@tienda.example?subject=Bingo"})
            row(address, address, address);
        // Nothing else: another scheme, no host, a path, no mailbox, a blank or a backslash, or a character
        // no address holds: a control, DEL, NEL, a no-break or zero-width space, a line separator, a
        // right-to-left override, a byte that is no UTF-8; nor more than an address holds.
        for (const char *address :
             {"", "data/b1.gif", "file://tienda.example/etc/passwd", "JavaScript:alert(1)",
              "http:///etc/passwd", "mailto:", "mailto:juan", "mailto:/etc/passwd@x.example", "http://a b",
              "http://tienda.example\\@evil.example/"})
            row(QByteArray(address).toPercentEncoding(":/@").prepend("refused ").constData(), address, "");
        for (const char *tail : {"\nfile:///etc/passwd", "\x1b[2J", "\177", "\xC2\x85x", "\xC2\xA0x",
                                 "\xE2\x80\x8B", "\xE2\x80\xA8x", "\xE2\x80\xAEtxt.exe", "\377"})
            row(QByteArray(tail).toPercentEncoding().prepend("refused page + ").constData(), page + tail, "");
        row("refused page + NUL", page + QByteArray("\0evil", 5), "");
        row("refused, too long", page + QByteArray(4096, 'a'), "");
    }
    void onlyWebPagesAndMailAddressesAreOpened()
    {
        QFETCH(QByteArray, address);
        QFETCH(QString, opened);
        testing::FakeBrowser browser;
        OpenWebAddress(browser, QString::fromUtf8(address), showMaximised);
        using Opened = std::vector<std::pair<QUrl, int>>;
        QCOMPARE(browser.opened, opened.isEmpty() ? Opened() : Opened({{QUrl(opened), showMaximised}}));
    }

    void firstFieldOfAnAddressFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("field");
        const auto row = [](const char *name, const QByteArray &content, const QString &field) {
            QTest::newRow(name) << content << field;
        };
        const QString a = QStringLiteral("http://t.example/");
        const QByteArray megabyte(1 << 20, 'a');
        row("no line end", "http://t.example/", a);
        row("comma ends it", "http://t.example/,Tienda\n", a);
        row("quoted: commas inside, the rest ignored", "\"http://t.example/?a=1,2\" y más,T\n", a + "?a=1,2");
        row("blanks around, a line end", " \thttp://t.example/  \t\nsecond\n", a);
        row("CR only", "http://t.example/\rsecond\r", a);
        row("byte-order mark, blanks, a quote", "\xEF\xBB\xBF \"http://t.example/,x\"\r\n", a + ",x");
        row("empty first line", "\nhttp://t.example/\n", "");
        row("quote never closed", "\"http://t.example/\n", "");
        row("quoted across lines", "\"http://t.example/\nfile:///x\"\n", "http://t.example/\nfile:///x");
        row("UTF-8", "http://panadería.example/\n", "http://panadería.example/");
        row("a megabyte line", "http://" + megabyte + "\n", "");
        row("a megabyte, cut by a comma", "http://t.example/," + megabyte, a);
        row("just under the read limit", QByteArray(addressFileReadLimit - 1, 'x') + "\n",
            QString(addressFileReadLimit - 1, 'x'));
    }
    void firstFieldOfAnAddressFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, field);
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(content) == content.size() && file.flush());
        QCOMPARE(readFirstField(file.fileName()), field);
    }
};

QTEST_GUILESS_MAIN(AddressTest)
#include "AddressTest.moc"
