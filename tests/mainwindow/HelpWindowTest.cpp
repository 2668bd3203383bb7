// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the help viewer: the help document shown from its contents in a window of its own, beside the main
// window and without holding it up; a missing or binary document said in the viewer itself.

#include "platform/HelpWindow.h"
#include "platform/RealPlatform.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace cantabola;

namespace {
HelpWindow *shownHelpWindow()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *help = qobject_cast<HelpWindow *>(top); help && help->isVisible())
            return help;
    }
    return nullptr;
}
} // namespace

class HelpWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void helpDocumentOpensAtItsContentsWithoutBlocking()
    {
        HelpWindowViewer viewer;
        viewer.showContents(QDir(QStringLiteral(CANTABOLA_PROGRAM_DIR)).absoluteFilePath("ayudabingo.html"));
        HelpWindow *help = shownHelpWindow();
        QVERIFY(help);
        QVERIFY(!help->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        const QString text = help->browser()->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Sacar número")));
        QVERIFY(text.contains(QStringLiteral("cartones")));
        QCOMPARE(help->browser()->textCursor().position(), 0); // at the top: the contents

        // Asking again brings the same window back rather than a second one.
        viewer.showContents(QDir(QStringLiteral(CANTABOLA_PROGRAM_DIR)).absoluteFilePath("ayudabingo.html"));
        QCOMPARE(shownHelpWindow(), help);
    }

    void missingOrBinaryDocumentIsSaidInTheViewer()
    {
        QTemporaryDir folder;
        HelpWindowViewer viewer;
        viewer.showContents(folder.filePath(QStringLiteral("ayudabingo.html")));
        QVERIFY(shownHelpWindow()->browser()->toPlainText().contains(QStringLiteral("No se encuentra")));

        QFile binary(folder.filePath(QStringLiteral("ayudabingo.html")));
        QVERIFY(binary.open(QIODevice::WriteOnly));
        binary.write(QByteArray("\x7f"
                                "ELF\x02\x01\x01\0\0\0",
                                10));
        binary.close();
        viewer.showContents(binary.fileName());
        QVERIFY(shownHelpWindow()->browser()->toPlainText().contains(QStringLiteral("no se puede leer")));
    }
};

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
