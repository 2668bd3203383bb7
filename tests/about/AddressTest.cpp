// Reading a banner's web address from its address file, and deciding which addresses are opened at all:
// only web pages go to the browser, whatever an address file holds.

#include "AddressFile.h"
#include "FakePlatform.h"
#include "WebAddress.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace cantabola;
using cantabola::testing::FakeBrowser;

namespace {

const QByteArray oneMegabyte(qsizetype(1024) * 1024, 'a');

} // namespace

class AddressTest : public QObject
{
    Q_OBJECT

private slots:
    void firstFieldOfAnAddressFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain line") << QByteArray("http://tienda.example/\n") << "http://tienda.example/";
        QTest::newRow("no line end") << QByteArray("http://tienda.example/") << "http://tienda.example/";
        QTest::newRow("only the first line")
            << QByteArray("http://uno.example/\nhttp://dos.example/\n") << "http://uno.example/";
        QTest::newRow("comma ends the field")
            << QByteArray("http://tienda.example/,Tienda de Juan\n") << "http://tienda.example/";
        QTest::newRow("quoted, commas inside")
            << QByteArray("\"http://tienda.example/?a=1,2\",Tienda\n") << "http://tienda.example/?a=1,2";
        QTest::newRow("quoted, rest of line ignored")
            << QByteArray("\"http://tienda.example/\" y algo más\n") << "http://tienda.example/";
        QTest::newRow("leading spaces")
            << QByteArray("   http://tienda.example/\n") << "http://tienda.example/";
        QTest::newRow("leading spaces before a quote")
            << QByteArray("  \"http://tienda.example/,x\"\n") << "http://tienda.example/,x";
        QTest::newRow("leading tab") << QByteArray("\thttp://tienda.example/\n") << "http://tienda.example/";
        QTest::newRow("trailing blanks")
            << QByteArray("http://tienda.example/  \t\n") << "http://tienda.example/";
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("empty first line") << QByteArray("\nhttp://tienda.example/\n") << QString();
        QTest::newRow("comma first") << QByteArray(",http://tienda.example/\n") << QString();
        QTest::newRow("empty quotes") << QByteArray("\"\",http://tienda.example/\n") << QString();
        QTest::newRow("CRLF") << QByteArray("http://tienda.example/\r\nsegunda\r\n")
                              << "http://tienda.example/";
        QTest::newRow("CR only") << QByteArray("http://tienda.example/\rsegunda\r")
                                 << "http://tienda.example/";
        QTest::newRow("byte-order mark")
            << QByteArray("\xEF\xBB\xBFhttp://tienda.example/\r\n") << "http://tienda.example/";
        QTest::newRow("byte-order mark, quoted")
            << QByteArray("\xEF\xBB\xBF\"http://tienda.example/,x\"\r\n") << "http://tienda.example/,x";
        QTest::newRow("UTF-8 text") << QByteArray("http://panadería.example/\n")
                                    << "http://panadería.example/";
        QTest::newRow("quote never closed") << QByteArray("\"http://tienda.example/\n") << QString();
        QTest::newRow("quoted across lines") << QByteArray("\"http://tienda.example/\nfile:///etc/passwd\"\n")
                                             << "http://tienda.example/\nfile:///etc/passwd";
        QTest::newRow("binary (a PNG header)") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                               << QString(QChar::ReplacementCharacter) + "PNG";
        QTest::newRow("megabyte line") << QByteArray("http://" + oneMegabyte + ".example/\n") << QString();
        QTest::newRow("megabyte without a line end") << QByteArray("http://" + oneMegabyte) << QString();
        QTest::newRow("megabyte line cut by a comma")
            << QByteArray("http://tienda.example/," + oneMegabyte) << "http://tienda.example/";
        QTest::newRow("megabyte quoted field") << QByteArray("\"" + oneMegabyte + "\"\n") << QString();
        QTest::newRow("field just under the limit") << QByteArray(addressFileReadLimit - 1, 'x') + "\n"
                                                    << QString(addressFileReadLimit - 1, 'x');
    }
    void firstFieldOfAnAddressFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, field);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("t1.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QCOMPARE(readFirstField(path), field);
    }

    void noFileMeansNoAddress_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a pipe nobody writes to") << "pipe";
        QTest::newRow("an unreadable file") << "unreadable";
    }
    void noFileMeansNoAddress()
    {
        QFETCH(QString, what);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("t1.txt"));
        if (what == QLatin1String("folder")) {
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("t1.txt")));
        } else if (what == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (what == QLatin1String("unreadable")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("http://tienda.example/\n");
            file.close();
            QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("running with rights that read any file");
        }
        QCOMPARE(readFirstField(path), QString());
    }

    void whichAddressesAreOpened_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened"); // empty: nothing is opened
        QTest::newRow("http") << "http://www.tienda.example/"
                              << "http://www.tienda.example/";
        QTest::newRow("https with path and query") << "https://tienda.example/ofertas?a=1,2#hoy"
                                                   << "https://tienda.example/ofertas?a=1,2#hoy";
        QTest::newRow("scheme in capitals") << "HTTP://tienda.example/"
                                            << "http://tienda.example/";
        QTest::newRow("no scheme") << "www.tienda.example/"
                                   << "http://www.tienda.example/";
        QTest::newRow("no scheme, host and port") << "tienda.example:8080/x"
                                                  << "http://tienda.example:8080/x";
        QTest::newRow("no scheme, localhost") << "localhost:8080"
                                              << "http://localhost:8080";
        QTest::newRow("non-ASCII host") << "http://panadería.example/"
                                        << "http://panadería.example/";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("file") << "file:///etc/passwd"
                              << "";
        QTest::newRow("javascript") << "javascript:alert(1)"
                                    << "";
        QTest::newRow("javascript, mixed case") << "JavaScript:alert(document.cookie)"
                                                << "";
        QTest::newRow("mailto") << "mailto:juan@tienda.example"
                                << "";
        QTest::newRow("ftp") << "ftp://tienda.example/"
                             << "";
        QTest::newRow("data") << "data:text/html,<script>alert(1)</script>"
                              << "";
        QTest::newRow("absolute path") << "/usr/bin/xterm"
                                       << "";
        QTest::newRow("relative path") << "data/b1.gif"
                                       << "";
        QTest::newRow("dot path") << "./cantabola"
                                  << "";
        QTest::newRow("parent path") << "../../bin/sh"
                                     << "";
        QTest::newRow("windows program") << R"(C:\Windows\System32\calc.exe)"
                                         << "";
        QTest::newRow("windows program, slashes") << "C:/Windows/System32/calc.exe"
                                                  << "";
        QTest::newRow("command line") << "xterm -e rm -rf ~"
                                      << "";
        QTest::newRow("space inside") << "http://tienda.example/ -e"
                                      << "";
        QTest::newRow("leading space") << " http://tienda.example/"
                                       << "";
        QTest::newRow("no-break space") << "http://tienda.example/\u00A0x"
                                        << "";
        QTest::newRow("tab") << "http://tienda.example/\tx"
                             << "";
        QTest::newRow("newline in the middle") << "http://tienda.example/\nfile:///etc/passwd"
                                               << "";
        QTest::newRow("carriage return") << "http://tienda.example/\r"
                                         << "";
        QTest::newRow("NUL") << QStringLiteral("http://tienda.example/") + QChar(0) + "x"
                             << "";
        QTest::newRow("escape") << "http://tienda.example/\x1b[2J"
                                << "";
        QTest::newRow("right-to-left override") << "http://tienda.example/\u202Eexe.txt"
                                                << "";
        QTest::newRow("undecodable bytes") << QString(QChar::ReplacementCharacter) + "PNG"
                                           << "";
        QTest::newRow("no host") << "http:///etc/passwd"
                                 << "";
        QTest::newRow("scheme only") << "https://"
                                     << "";
        QTest::newRow("too long") << "http://tienda.example/" + QString(4096, 'a') << "";
    }
    void whichAddressesAreOpened()
    {
        QFETCH(QString, address);
        QFETCH(QString, opened);
        FakeBrowser browser;
        OpenWebAddress(browser, address, showHidden);
        if (opened.isEmpty()) {
            QCOMPARE(browser.opened.size(), std::size_t(0));
            return;
        }
        QCOMPARE(browser.opened.size(), std::size_t(1));
        QCOMPARE(browser.opened.front().first, QUrl(opened));
        QCOMPARE(browser.opened.front().second, showHidden);
    }

    void theShowModeIsPassedOn_data()
    {
        QTest::addColumn<int>("showMode");
        QTest::newRow("hidden, from the banner") << showHidden;
        QTest::newRow("maximised, from the about window") << showMaximised;
    }
    void theShowModeIsPassedOn()
    {
        QFETCH(int, showMode);
        testing::FakePlatform fake;
        OpenWebAddress(fake.platform, QStringLiteral("http://tienda.example/"), showMode);
        QCOMPARE(fake.browser.opened.size(), std::size_t(1));
        QCOMPARE(fake.browser.opened.front().second, showMode);
    }

    void theAuthorsPageIsAFullWebAddress()
    {
        const QString authors = authorsWebAddress();
        QVERIFY2(authors.startsWith(QLatin1String("http://"))
                     || authors.startsWith(QLatin1String("https://")),
                 qPrintable(authors));
        const std::optional<QUrl> url = webAddressToOpen(authors);
        QVERIFY(url.has_value());
        QCOMPARE(url->toString(), authors);
    }
};

QTEST_GUILESS_MAIN(AddressTest)
#include "AddressTest.moc"
