// The text tools alone, on a stand-in host: the effects menu made from the core's table,
// an effect and its undo exchange, the insertions, the files' errors reported and
// pages sent where the preferences say, the edit commands on the code view while it is open.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>

#include "clipboard.h"
#include "code_output.h"
#include "options_file.h"
#include "part_test_support.h"
#include "settings_file.h"
#include "text_effects.h"
#include "text_tools.h"

using namespace zktest;

class TextToolsPartTest final : public QObject {
    Q_OBJECT

    struct Setup {
        Setup() {
            editor = new QPlainTextEdit(&host.window);
            code = new zk::ui::CodeOutput(host, settings, options, editor, &host.window,
                                          folder.path());
            part = new zk::ui::TextTools(host, settings, editor, *code, &host.window);
            host.window.resize(544, 415);
        }
        AppFolder folder;
        FakeHost host;
        zk::AppSettings settings;
        zk::NewOptions options;
        QPlainTextEdit* editor = nullptr;
        zk::ui::CodeOutput* code = nullptr;
        zk::ui::TextTools* part = nullptr;
    };

private slots:
    // Popup3 holds the twelve effects in the menu's order (the dialects after a
    // separator, Viking above Atchoum) with the core's captions, each its own command.
    void effectsMenuComesFromTheCoresTable() {
        Setup s;
        QStringList names;
        for (QAction* a : s.part->Popup3->actions()) {
            if (a->isSeparator()) {
                names.append(QStringLiteral("-"));
                continue;
            }
            names.append(a->objectName());
            bool found = false;
            for (int n = zk::kFirstTextEffect; n <= zk::kLastTextEffectNumber; ++n) {
                const zk::TextEffectInfo* info = zk::textEffectInfo(n);
                if (a->objectName() == QLatin1String(info->menuItem)) {
                    QCOMPARE(a->text(), QString::fromUtf8(info->caption));
                    found = true;
                }
            }
            QVERIFY2(found, qPrintable(a->objectName()));
        }
        QCOMPARE(names, QStringList({"C2", "C3", "C4", "C5", "C6", "C7", "C8", "C9", "-", "C10",
                                     "C11", "C13", "C12"}));
        QCOMPARE(s.part->C13, s.part->Popup3->actions().at(11));
        QCOMPARE(s.part->C12, s.part->Popup3->actions().at(12));
    }

    // An effect runs its frame (number kept, undo copy of the whole text on the clipboard)
    // and rewrites the editor; Undo then exchanges the text and the clipboard, both ways.
    void effectThenUndoExchangesWithTheClipboard() {
        Setup s;
        s.editor->setPlainText(QStringLiteral("été ok"));
        s.part->C4->trigger();
        QCOMPARE(s.host.lastCommand, QStringLiteral("C4Click"));
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("éTé OK"));
        QCOMPARE(int(s.settings.LastTextEffect), 3);
        QCOMPARE(int(s.part->UndoFromClipboard), 1);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("été ok"));
        s.part->BoutUndoClick();
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("été ok"));
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("éTé OK"));
        s.part->BoutUndoClick();
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("éTé OK"));
        // Copy in the editor goes back to the editor's own undo.
        s.part->BoutCopierClick();
        QCOMPARE(int(s.part->UndoFromClipboard), 0);
    }

    // The part's own insertion: the undo copy first, then the pieces round the selection.
    void insertAtCaretWrapsTheSelection() {
        Setup s;
        s.editor->setPlainText(QStringLiteral("say hello now"));
        QTextCursor c = s.editor->textCursor();
        c.setPosition(4);
        c.setPosition(9, QTextCursor::KeepAnchor);
        s.editor->setTextCursor(c);
        s.part->InsertAtCaret(QStringLiteral("<b>"), QStringLiteral("</b>"));
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("say <b>hello</b> now"));
        QCOMPARE(s.editor->textCursor().position(), 7);
        QCOMPARE(int(s.part->UndoFromClipboard), 1);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("say hello now"));
    }

    // A link without a selection is an error of the host's banner and changes nothing;
    // with one, the link goes round it. A cancelled sound dialog inserts the placeholder.
    // Both take the undo copy.
    void linksAndSounds() {
        Setup s;
        zk::platform::setClipboardText(QStringLiteral("kept"));
        s.editor->setPlainText(QStringLiteral("say hello now"));
        s.part->BoutLienClick();
        QCOMPARE(s.host.errors, QStringList{QStringLiteral("\r\nSélectionnez le lien !")});
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("say hello now"));
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("kept"));
        QCOMPARE(int(s.part->UndoFromClipboard), 0);

        QTextCursor c = s.editor->textCursor();
        c.setPosition(4);
        c.setPosition(9, QTextCursor::KeepAnchor);
        s.editor->setTextCursor(c);
        s.part->CrerunLien1Click();
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("say <a href=\"hello\">hello</a> now"));
        QCOMPARE(int(s.part->UndoFromClipboard), 1);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("say hello now"));

        s.editor->setPlainText(QStringLiteral("x"));
        s.editor->moveCursor(QTextCursor::End);
        s.part->UndoFromClipboard = 0;
        s.part->BoutSoundClick();
        QCOMPARE(s.editor->toPlainText(),
                 QStringLiteral("x<bgsound src=\"URL DU FICHIER SON\" loop= \"-1\">"));
        QCOMPARE(int(s.part->UndoFromClipboard), 1);
        QCOMPARE(s.host.errors.size(), 1);
    }

    // Text files: a missing file and a file over the size limit are errors of the host's
    // banner and leave the editor; a picture goes to the web browser through the host
    // when the preferences say so.
    void openingReportsThroughTheHost() {
        Setup s;
        s.editor->setPlainText(QStringLiteral("mine"));
        const QString big = s.folder.file(QStringLiteral("big.txt"));
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(32769, 'a'));
        }
        s.part->OpenFileByPath(s.folder.file(QStringLiteral("none.txt")));
        s.part->OpenFileByPath(big);
        QCOMPARE(s.host.errors,
                 QStringList({QStringLiteral("\r\n\r\nImpossible d'ouvrir ce fichier"),
                              QStringLiteral("\r\nLe fichier que vous tentez d'ouvrir\r\nest "
                                             "trop gros pour ZelkoHTML !")}));
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("mine"));
        QCOMPARE(QString::fromStdString(s.settings.LastFolder), s.folder.path());

        const QString picture = s.folder.file(QStringLiteral("Photo.JPG"));
        {
            QFile f(picture);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
        s.settings.PreviewInProgram = 0;
        s.settings.PreviewInNewWindow = 1;
        s.part->OpenFileByPath(picture);
        QCOMPARE(s.host.launched, QStringList{picture});
        QCOMPARE(s.editor->toPlainText(), QStringLiteral("mine"));

        // New empties the editor and goes back to the editor's own undo.
        s.part->UndoFromClipboard = 1;
        s.part->BoutNouveauClick();
        QVERIFY(s.editor->toPlainText().isEmpty());
        QCOMPARE(int(s.part->UndoFromClipboard), 0);
    }

    // While the host says the code view is open, the edit commands act on it and leave
    // the undo mode alone; New still empties the editor.
    void editCommandsFollowTheOpenCodeView() {
        Setup s;
        s.editor->setPlainText(QStringLiteral("texte"));
        s.code->Memo2->setPlainText(QStringLiteral("<b>code</b>"));
        s.part->UndoFromClipboard = 1;
        s.host.openPanel = zk::ui::CodeOutput::kCodeViewPanel;
        QCOMPARE(s.part->EditTarget(), s.code->Memo2);
        s.part->ToutSelectionner1Click();
        s.part->Copier1Click();
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("<b>code</b>"));
        QCOMPARE(int(s.part->UndoFromClipboard), 1);
        s.part->BoutNouveauClick();
        QVERIFY(s.editor->toPlainText().isEmpty());
        QCOMPARE(s.code->Memo2->toPlainText(), QStringLiteral("<b>code</b>"));
        s.host.openPanel = 0;
        QCOMPARE(s.part->EditTarget(), s.editor);
    }
};

ZK_PART_TEST_MAIN(TextToolsPartTest)
#include "text_tools_part_test.moc"
