// Protects which addresses reach the browser, and how the first field of an address file is read.

#include "AddressFile.h"
#include "FakePlatform.h"
#include "WebAddress.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace cantabola;

namespace {
const QByteArray oneMegabyte(qsizetype(1024) * 1024, 'a');
const QByteArray page = "http://patrocinador.example/";
} // namespace

class AddressTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyWebPagesAndMailAddressesAreOpened_data()
    {
        QTest::addColumn<QByteArray>("address"); // UTF-8, as an address file holds it
        QTest::addColumn<QString>("opened"); // empty: nothing is opened
        const auto row = [](const char *name, const QByteArray &address, const char *opened = "") {
            QTest::newRow(name) << address << QString::fromUtf8(opened);
        };
        row("http", "http://www.tienda.example/", "http://www.tienda.example/");
        row("https, path, query", "https://tienda.example/o?a=1,2#hoy", "https://tienda.example/o?a=1,2#hoy");
        row("scheme in capitals", "HTTP://tienda.example/", "http://tienda.example/");
        row("no scheme", "www.tienda.example/", "http://www.tienda.example/");
        row("no scheme, host and port", "tienda.example:8080/x", "http://tienda.example:8080/x");
        row("no scheme, localhost", "localhost:8080", "http://localhost:8080");
        row("non-ASCII host", "http://panadería.example/", "http://panadería.example/");
        row("no scheme, a word", "tienda");
        row("empty", "");
        row("file", "file:///etc/passwd");
        row("file on a host", "file://tienda.example/etc/passwd");
        row("ftp", "ftp://tienda.example/");
        row("javascript", "JavaScript:alert(document.cookie)");
        row("mailto", "mailto:juan@tienda.example", "mailto:juan@tienda.example");
        row("mailto with a subject", "mailto:juan@tienda.example?subject=Bingo", "mailto:juan@tienda.example?subject=Bingo");
        row("bare mailto", "mailto:");
        row("mailto without a host", "mailto:juan");
        row("mailto to a path", "mailto:/etc/passwd@x.example");
        row("executable path", "/usr/bin/xterm");
        row("relative path", "data/b1.gif");
        row("windows program", R"(C:\Windows\System32\calc.exe)");
        row("backslash in a web address", R"(http://tienda.example\@evil.example/)");
        row("command line", "xterm -e rm -rf ~");
        row("blank in the host", "http://a b");
        row("newline in the middle", page + "\nfile:///etc/passwd");
        row("tab", page + "\tx");
        row("NUL", page + QByteArray("\0evil", 5));
        row("bell", page + "\a");
        row("backspaces", page + "\b\b\b\b");
        row("vertical tab", page + "\vx");
        row("form feed", page + "\fx");
        row("escape sequence in front", "\x1b[2J\x1b[H" + page);
        row("controls in front", "\x01\x02\x03" + page);
        row("DEL inside", "http://patro\177cinador.example/");
        row("NEL (U+0085)", page + "\xC2\x85x");
        row("no-break space (U+00A0)", page + "\xC2\xA0x");
        row("line separator (U+2028)", page + "\xE2\x80\xA8x");
        row("zero-width space (U+200B)", "http://patro\xE2\x80\213cinador.example/");
        row("right-to-left override (U+202E)", page + "\xE2\x80\xAEtxt.exe");
        row("byte that is no UTF-8", "http://patro\377cinador.example/");
        row("no host", "http:///etc/passwd");
        row("scheme only", "https://");
        row("too long", page + QByteArray(4096, 'a'));
        row("a megabyte", "http://" + oneMegabyte + ".example/");
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
        QTest::addColumn<QString>("kind"); // what lies under the name: a file, a folder, a pipe or nothing
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("field");
        const auto row = [](const char *name, const QByteArray &content, const QString &field) {
            QTest::newRow(name) << "file" << content << field;
        };
        const QString a = QStringLiteral("http://t.example/");
        row("plain line", "http://t.example/\nsecond\n", a);
        row("no line end", "http://t.example/", a);
        row("comma ends it", "http://t.example/,Tienda\n", a);
        row("quoted, commas inside", "\"http://t.example/?a=1,2\",T\n", "http://t.example/?a=1,2");
        row("quoted, rest ignored", "\"http://t.example/\" y más\n", a);
        row("blanks around", " \thttp://t.example/  \t\n", a);
        row("blanks before a quote", "  \"http://t.example/,x\"\n", "http://t.example/,x");
        row("CRLF", "http://t.example/\r\nsecond\r\n", a);
        row("CR only", "http://t.example/\rsecond\r", a);
        row("byte-order mark", "\xEF\xBB\xBF\"http://t.example/,x\"\r\n", "http://t.example/,x");
        row("empty file", "", "");
        row("empty first line", "\nhttp://t.example/\n", "");
        row("comma first", ",http://t.example/\n", "");
        row("quote never closed", "\"http://t.example/\n", "");
        row("quoted across lines", "\"http://t.example/\nfile:///x\"\n", "http://t.example/\nfile:///x");
        row("UTF-8", "http://panadería.example/\n", "http://panadería.example/");
        row("a megabyte line", "http://" + oneMegabyte + "\n", "");
        row("a megabyte, cut by a comma", "http://t.example/," + oneMegabyte, a);
        row("a megabyte quoted", "\"" + oneMegabyte + "\"\n", "");
        row("just under the read limit", QByteArray(addressFileReadLimit - 1, 'x') + "\n",
            QString(addressFileReadLimit - 1, 'x'));
        for (const char *kind : {"missing", "folder", "pipe"})
            QTest::newRow(kind) << QString::fromLatin1(kind) << QByteArray() << QString();
    }
    void firstFieldOfAnAddressFile()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, field);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("t1.txt"));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("t1.txt")));
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == QLatin1String("file")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QCOMPARE(readFirstField(path), field);
    }
};

QTEST_GUILESS_MAIN(AddressTest)
#include "AddressTest.moc"
