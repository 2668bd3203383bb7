// Address files naming what is not a web page, in all nine banners of a program calling a whole game: a click
// on the banner opens nothing, after any tick; once the files name web pages again, the next click opens one.
//
// tests/about/BannerTest.cpp already clicks banners whose address file holds a local file, a script, a
// program, a Windows program, a quoted newline, a megabyte line, a mail address, binary and a pipe; these are
// the addresses it does not try.

#include "HostileProgram.h"

#include <QTest>

using namespace hostile;

class WebAddressFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        recordCase({QString::fromUtf8(QTest::currentDataTag()), !QTest::currentTestFailed(), m_summary, {}});
        m_summary = {};
    }
    void cleanupTestCase()
    {
        printCaseTable(QStringLiteral("Hostile web addresses in the banners' address files"));
    }

    void anAddressThatIsNoWebPageIsNeverOpened_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray page = "http://patrocinador.example/";
        QTest::newRow("a bare mailto:") << QByteArray("mailto:\r\n");
        QTest::newRow("a blank in the host: http://a b") << QByteArray("http://a b\n");
        QTest::newRow("a blank in the host, quoted") << QByteArray("\"http://a b\",Patrocinador\n");
        QTest::newRow("a script on the first line, a page on the second")
            << QByteArray("javascript:alert(1)\n" + page + "\n");
        QTest::newRow("NUL inside") << page + QByteArray("\0evil", 5) + "\n";
        QTest::newRow("bell") << page + "\a\n";
        QTest::newRow("backspaces over the address") << page + "\b\b\b\b\n";
        QTest::newRow("vertical tab") << page + "\vx\n";
        QTest::newRow("form feed") << page + "\fx\n";
        QTest::newRow("escape sequence in front") << "\x1b[2J\x1b[H" + page + "\n";
        QTest::newRow("control characters in front") << "\x01\x02\x03" + page + "\n";
        QTest::newRow("DEL inside") << QByteArray("http://patro\x7f"
                                                  "cinador.example/\n");
        QTest::newRow("tab inside") << page + "\tx\n";
        QTest::newRow("C1 control NEL (U+0085)") << page + "\xC2\x85x\n";
        QTest::newRow("line separator (U+2028)") << page + "\xE2\x80\xA8x\n";
        QTest::newRow("zero-width space (U+200B)") << QByteArray("http://patro\xE2\x80\x8B"
                                                                 "cinador.example/\n");
        QTest::newRow("right-to-left override (U+202E)") << page + "\xE2\x80\xAEtxt.exe\n";
        QTest::newRow("byte that is no UTF-8") << QByteArray("http://patro\xFF"
                                                             "cinador.example/\n");
        QTest::newRow("quoted control characters")
            << QByteArray("\"http://patrocinador.example/\x01\x02\",x\n");
    }
    void anAddressThatIsNoWebPageIsNeverOpened()
    {
        QFETCH(QByteArray, content);
        ProgramFolder folder(ProgramFolder::Words::Short);
        QVERIFY(folder.isValid());
        for (int n = 1; n <= 9; ++n)
            QVERIFY(folder.write(QStringLiteral("data/t%1.txt").arg(n), content));

        const Watchdog watchdog(QString::fromUtf8(QTest::currentDataTag()), std::chrono::seconds(120));
        Expectations expect;
        expect.links = Links::None;
        HostileProgram program(folder.path(), expect);
        m_summary = program.run();
        QVERIFY2(m_summary.failure.isEmpty(), qPrintable(m_summary.failure));
        QVERIFY(program.fake.browser.opened.empty());

        // The clicks did reach the banner: with web pages in the files, the next click opens one.
        for (int n = 1; n <= 9; ++n)
            QVERIFY(folder.write(QStringLiteral("data/t%1.txt").arg(n), goodAddressFile(n)));
        const std::vector<QUrl> opened = program.tickAndClick();
        QCOMPARE(opened.size(), std::size_t(1));
        QVERIFY2(opened.front().host().startsWith(QLatin1String("patrocinador")),
                 qPrintable(opened.front().toString()));
    }

private:
    RunSummary m_summary;
};

QTEST_MAIN(WebAddressFilesTest)
#include "WebAddressFilesTest.moc"
