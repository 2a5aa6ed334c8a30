// Text effects, insertions and the character table on the real window, with the real
// clipboard: what Memo1 holds afterwards, what the clipboard holds, and Undo.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include "clipboard.h"
#include "window_test_support.h"

using zktest::AppFolder;
using zktest::select;
using zktest::textOf;

namespace {

void putCaret(QPlainTextEdit* editor, int at) {
    select(editor, at, at);
}

// Answers the sound dialog and records how it was set up.
class SoundDialogs final : public zk::platform::Dialogs {
public:
    QString answer; // empty: cancelled
    int calls = 0;
    QString caption, dir, filter;

    QString openFileName(QWidget*, const QString& c, const QString& d, const QString& f) override {
        ++calls;
        caption = c;
        dir = d;
        filter = f;
        return answer;
    }
};

} // namespace

class TextToolsTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    void setText(const QString& text) {
        form->Memo1->setPlainText(text);
        putCaret(form->Memo1, 0);
    }
    QAction* item(const char* name) const { return form->MenuItem(QLatin1String(name)); }

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
        form->Memo1->setFocus();
        zk::platform::setClipboardText(QStringLiteral("du presse-papier"));
    }
    void cleanup() {
        zk::platform::setDialogs(&zktest::dialogs());
        form.reset();
        folder.reset();
    }

    void effectsOnTheWholeText() {
        struct Case {
            const char* item;
            int number;
            QString text;
            QString expected;
        };
        const Case cases[] = {
            {"C5", 4, "Bonjour le monde", "bOnJoUr lE MoNdE"},
            {"C6", 5, "Bonjour le monde", "BoNjOuR Le mOnDe"},
            {"C5", 4, "ab\ncd", "aB\ncD"}, // both halves of the line break count
            {"C2", 1, "abc\nde", "cba\ned"},
            {"C3", 2, "ÉCOLE Été", "École Été"},
            {"C4", 3, "été", "éTé"},
            {"C7", 6, "ab\nc", "a b \nc "},
            {"C8", 7, "a b  c\td\u00A0e", "abc\td\u00A0e"},
            {"C10", 9, "Bonjour, je voudrais du gâteau", "Ponchour, che foutrais tu kâteau"},
            {"C11", 10, "Ce gentil garçon est sage", "Ce gentil gawçon est sage"},
            {"C12", 11, "Bonne nuit mon ami", "Bodde duit bon abi"},
            {"C13", 12, "Maman a mangé une banane", "Måmån å mångé üne bånåne"},
            // Characters outside the code page come through whole, one position each.
            {"C4", 3, "noël 👍🏽 日本 e\u0301t", "NOëL 👍🏽 日本 e\u0301T"},
            {"C2", 1, "a👍🏽b\nx日y", "b👍🏽a\ny日x"},
            {"C6", 5, "👍🏽ab", "👍🏽aB"},
            {"C13", 12, "Ola 😀 amigo", "Ølå 😀 åmìgø"},
        };
        for (const Case& c : cases) {
            setText(c.text);
            form->settings.LastTextEffect = 0;
            form->textTools()->UndoFromClipboard = 0;
            item(c.item)->trigger();
            QCOMPARE(textOf(form->Memo1), c.expected);
            QCOMPARE(int(form->settings.LastTextEffect), c.number);
            QCOMPARE(int(form->textTools()->UndoFromClipboard), 1);
            QCOMPARE(zk::platform::clipboardText(), c.text);
        }
    }

    void effectsOnASelection() {
        struct Case {
            const char* item;
            QString text;
            int start, end; // editor positions
            QString expected;
            int caret; // after the result
        };
        const Case cases[] = {
            {"C4", "abc def", 4, 7, "abc DEF", 7},
            // The s is the last character of the selection: nothing follows it.
            {"C10", "abase", 1, 4, "apase", 4},
            // A mirrored selection keeps its line break whole and in the editor one break.
            {"C2", "xab\ncy", 1, 5, "xc\nbay", 5},
            {"C2", "a👍🏽b日", 0, 6, "b👍🏽a日", 6},
            {"C7", "ab cd", 3, 5, "ab c d ", 7},
            {"C8", "a   b", 1, 4, "ab", 1},
        };
        for (const Case& c : cases) {
            setText(c.text);
            select(form->Memo1, c.start, c.end);
            item(c.item)->trigger();
            QCOMPARE(textOf(form->Memo1), c.expected);
            // The undo copy is the whole text, not the selection.
            QCOMPARE(zk::platform::clipboardText(), c.text);
            QCOMPARE(form->Memo1->textCursor().position(), c.caret);
            QVERIFY(!form->Memo1->textCursor().hasSelection());
        }
        // Mirroring the mirrored selection gives the first text back.
        setText(QStringLiteral("ab\nc"));
        select(form->Memo1, 0, 4);
        form->textTools()->C2Click();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("c\nba"));
        select(form->Memo1, 0, 4);
        form->textTools()->C2Click();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("ab\nc"));
    }

    void effectMenuOpensFromItsButton() {
        setText(QStringLiteral("Bonjour"));
        QCOMPARE(form->BoutMisc->menu(), form->textTools()->Popup3);
        bool clicked = false;
        zktest::whenShown(form->textTools()->Popup3, [&] {
            const QRect r = form->textTools()->Popup3->actionGeometry(form->textTools()->C13);
            QTest::mouseClick(form->textTools()->Popup3, Qt::LeftButton, {}, r.center());
            clicked = true;
        });
        QTest::mouseClick(form->BoutMisc, Qt::LeftButton);
        QTRY_VERIFY(clicked);
        QTRY_COMPARE(textOf(form->Memo1), QStringLiteral("Bønjøür"));
        QCOMPARE(form->LastCommand, QStringLiteral("C13Click"));
    }

    void hackerDrawsFromOneGeneratorForTheRun() {
        setText(QStringLiteral("Hacker"));
        form->textTools()->C9Click();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("HÄcKËr"));
        setText(QStringLiteral("Hacker"));
        form->textTools()->C9Click();
        QVERIFY(textOf(form->Memo1) != QStringLiteral("HÄcKËr"));
        QCOMPARE(textOf(form->Memo1).size(), 6);
    }

    // A new whole text puts the caret at its start, as setting an edit box's text does: after
    // an effect on the whole text and after the undo exchange. A replaced selection leaves
    // it after the result.
    void caretAfterAWholeTextIsSet() {
        setText(QStringLiteral("Hacker"));
        form->Memo1->moveCursor(QTextCursor::End);
        form->textTools()->C9Click();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("HÄcKËr"));
        QCOMPARE(form->Memo1->textCursor().position(), 0);
        QVERIFY(!form->Memo1->textCursor().hasSelection());
        QTest::keyClicks(form->Memo1, QStringLiteral("Z"));
        QCOMPARE(textOf(form->Memo1), QStringLiteral("ZHÄcKËr"));

        form->Memo1->moveCursor(QTextCursor::End);
        form->textTools()->BoutUndoClick();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("Hacker"));
        QCOMPARE(form->Memo1->textCursor().position(), 0);
        form->Memo1->moveCursor(QTextCursor::End);
        form->textTools()->BoutUndoClick(); // and back
        QCOMPARE(textOf(form->Memo1), QStringLiteral("ZHÄcKËr"));
        QCOMPARE(form->Memo1->textCursor().position(), 0);

        setText(QStringLiteral("ab cd"));
        select(form->Memo1, 3, 5);
        form->textTools()->C4Click();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("ab CD"));
        QCOMPARE(form->Memo1->textCursor().position(), 5);
    }

    void everyEffectOnAnEmptyEditor() {
        for (int n = 2; n <= 13; ++n) {
            setText(QString());
            zk::platform::setClipboardText(QStringLiteral("ancien"));
            form->textTools()->UndoFromClipboard = 0;
            item(qPrintable(QStringLiteral("C%1").arg(n)))->trigger();
            QCOMPARE(textOf(form->Memo1), QString());
            QCOMPARE(zk::platform::clipboardText(), QString());
            QCOMPARE(int(form->textTools()->UndoFromClipboard), 1);
        }
        QCOMPARE(int(form->settings.LastTextEffect), 12); // C13, Viking
    }

    void undoAndRedoAlternateThroughTheClipboard() {
        setText(QStringLiteral("Bonjour 👍🏽 le\nmonde"));
        select(form->Memo1, 0, 7);
        form->textTools()->C4Click();
        const QString effect = QStringLiteral("BONJOUR 👍🏽 le\nmonde");
        QCOMPARE(textOf(form->Memo1), effect);
        const QString before = QStringLiteral("Bonjour 👍🏽 le\nmonde");
        // Undo, redo, undo: the two texts change places each time.
        for (int k = 0; k < 3; ++k) {
            QTest::mouseClick(form->BoutUndo, Qt::LeftButton);
            const bool back = k % 2 == 0;
            QCOMPARE(textOf(form->Memo1), back ? before : effect);
            QCOMPARE(zk::platform::clipboardText(), back ? effect : before);
            QCOMPARE(int(form->textTools()->UndoFromClipboard), 1);
        }
        // Text typed since the effect goes to the clipboard with the rest.
        form->Memo1->moveCursor(QTextCursor::End);
        zktest::typeText(form->Memo1, QStringLiteral("!"));
        form->Annuler1->trigger();
        QCOMPARE(textOf(form->Memo1), effect);
        QCOMPARE(zk::platform::clipboardText(), before + QStringLiteral("!"));
        // Text copied in another program since is what comes back.
        zk::platform::setClipboardText(QStringLiteral("d'ailleurs\r\nligne"));
        form->textTools()->BoutUndoClick();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("d'ailleurs\nligne"));
        QCOMPARE(zk::platform::clipboardText(), effect);
        // Copy in the editor: back to the editor's own undo.
        select(form->Memo1, 0, 3);
        QTest::mouseClick(form->BoutCopier, Qt::LeftButton);
        QCOMPARE(int(form->textTools()->UndoFromClipboard), 0);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("d'a"));
        form->Memo1->moveCursor(QTextCursor::End);
        zktest::typeText(form->Memo1, QStringLiteral("x"));
        form->textTools()->BoutUndoClick();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("d'ailleurs\nligne"));
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("d'a"));
    }

    void effectsActOnMemo1WhileTheCodeViewIsShown() {
        setText(QStringLiteral("abc"));
        form->codeOutput()->BoutCodeClick();
        QCOMPARE(int(form->OpenPanel), 8);
        const QString code = textOf(form->codeOutput()->Memo2);
        form->textTools()->C4Click();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("ABC"));
        QCOMPARE(textOf(form->codeOutput()->Memo2), code);
        // Undo acts on the code view while it is shown, and leaves Memo1 alone.
        form->textTools()->BoutUndoClick();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("ABC"));
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("abc"));
        form->codeOutput()->BoutCodeClick();
        form->textTools()->BoutUndoClick();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("abc"));
    }

    void links() {
        struct Case {
            QString text;
            int start, end;
            QString expected;
            int caret;
        };
        const Case cases[] = {
            {"say hello now", 4, 9, R"(say <a href="hello">hello</a> now)", 13},
            {"écrire à léa@exemple.fr !", 9, 23,
             R"(écrire à <a href="mailto:léa@exemple.fr">léa@exemple.fr</a> !)", 25},
            {R"(x <img src="a.gif"> y)", 2, 19,
             R"(x <a href="a.gif"><img src="a.gif" border="0"></a> y)", 50},
            // A word holding "img" is linked as text.
            {"voir imgur.com", 5, 14, R"(voir <a href="imgur.com">imgur.com</a>)", 14},
            {"👍🏽 ici", 0, 4, R"(<a href="👍🏽">👍🏽</a> ici)", 9},
        };
        for (const Case& c : cases) {
            setText(c.text);
            select(form->Memo1, c.start, c.end);
            form->textTools()->UndoFromClipboard = 0;
            form->LastCommand.clear();
            QTest::keyClick(form->Memo1, Qt::Key_L, Qt::ControlModifier);
            QCOMPARE(form->LastCommand, QStringLiteral("CrerunLien1Click"));
            QCOMPARE(textOf(form->Memo1), c.expected);
            QCOMPARE(form->Memo1->textCursor().position(), c.caret);
            QCOMPARE(zk::platform::clipboardText(), c.text);
            QCOMPARE(int(form->textTools()->UndoFromClipboard), 1);
            form->textTools()->BoutUndoClick();
            QCOMPARE(textOf(form->Memo1), c.text);
        }
    }

    void linkWithoutASelectionChangesNothing() {
        setText(QStringLiteral("rien"));
        putCaret(form->Memo1, 2);
        QTest::mouseClick(form->BoutLien, Qt::LeftButton);
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), QStringLiteral("\nSélectionnez le lien !"));
        QCOMPARE(textOf(form->Memo1), QStringLiteral("rien"));
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("du presse-papier"));
        QCOMPARE(int(form->textTools()->UndoFromClipboard), 0);
    }

    void backgroundSound() {
        SoundDialogs sounds;
        zk::platform::setDialogs(&sounds);
        form->settings.LastFolder = folder->path().toStdString();
        // Cancelled: the placeholder at the caret, undoable like any insertion.
        setText(QStringLiteral("ab"));
        putCaret(form->Memo1, 1);
        QTest::mouseClick(form->BoutSound, Qt::LeftButton);
        QCOMPARE(sounds.calls, 1);
        QCOMPARE(sounds.caption, QStringLiteral("Ajouter un fichier audio"));
        QCOMPARE(sounds.dir, folder->path());
        QCOMPARE(sounds.filter,
                 QStringLiteral("Fichiers Audio (*.wav,*.mid,*.mp3)|*.wav;*.mid;*.mp3"));
        const QString placeholder = R"(<bgsound src="URL DU FICHIER SON" loop= "-1">)";
        QCOMPARE(textOf(form->Memo1), QStringLiteral("a") + placeholder + QStringLiteral("b"));
        QCOMPARE(form->Memo1->textCursor().position(), 1 + placeholder.size());
        QCOMPARE(int(form->textTools()->UndoFromClipboard), 1);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("ab"));
        // Chosen, with a selection: the tag goes in front of the selected text, which stays.
        sounds.answer = QStringLiteral("/tmp/Musique à écouter/thème 🎵.mid");
        setText(QStringLiteral("le son"));
        select(form->Memo1, 3, 6);
        form->textTools()->BoutSoundClick();
        const QString tag = R"(<bgsound src="/tmp/Musique à écouter/thème 🎵.mid" loop= "-1">)";
        QCOMPARE(textOf(form->Memo1), QStringLiteral("le ") + tag + QStringLiteral("son"));
        QCOMPARE(form->Memo1->textCursor().position(), 3 + tag.size());
        QCOMPARE(QString::fromStdString(form->settings.LastFolder),
                 QStringLiteral("/tmp/Musique à écouter/"));
        form->textTools()->BoutUndoClick();
        QCOMPARE(textOf(form->Memo1), QStringLiteral("le son"));
    }

    void insertAtCaretKeepsEveryCharacterAndNormalisesLineBreaks() {
        struct Case {
            QString text;
            int start, end;
            QString opening, closing;
            QString expected;
            int caret;
        };
        const Case cases[] = {
            {"👍🏽日本", 4, 5, "<b>", "</b>", "👍🏽<b>日</b>本", 7},
            {"ab", 2, 2, "l1\rl2\n", "", "abl1\nl2\n", 8},
            {"x\ny", 0, 3, "[", "]\r\n", "[x\ny]\n", 1},
            {"", 0, 0, "é", "", "é", 1},
        };
        for (const Case& c : cases) {
            setText(c.text);
            select(form->Memo1, c.start, c.end);
            form->InsertAtCaret(c.opening, c.closing);
            QCOMPARE(textOf(form->Memo1), c.expected);
            QCOMPARE(form->Memo1->textCursor().position(), c.caret);
            QCOMPARE(zk::platform::clipboardText(), c.text);
        }
    }

    void characterTable() {
        QCOMPARE(form->characterTable()->CharCode->text(), QStringLiteral("255"));
        setText(QStringLiteral("ab"));
        putCaret(form->Memo1, 1);
        QTest::mouseClick(form->BoutCarac, Qt::LeftButton);
        QCOMPARE(int(form->OpenPanel), 3);
        QVERIFY(form->characterTable()->Panel3->isVisible());
        QCOMPARE(form->characterTable()->Panel3->pos(), QPoint(120, 72));

        struct Cell {
            int n;
            QString character;
        };
        const Cell cells[] = {{201, "é"}, {0, " "}, {96, "€"}, {117, "•"}, {223, "ÿ"}};
        QString expected = QStringLiteral("a");
        for (const Cell& c : cells) {
            auto* cell =
                form->characterTable()->Panel3->findChild<QLabel*>(QStringLiteral("CH%1").arg(c.n));
            QVERIFY(cell);
            // Through the window, so that the toolkit finds the cell under the pointer.
            QTest::mouseMove(form->windowHandle(), cell->mapTo(form.get(), QPoint(8, 8)));
            QTRY_COMPARE(form->characterTable()->CharLoop->text(), c.character);
            QCOMPARE(form->characterTable()->CharCode->text(), QString::number(c.n + 32));
            form->textTools()->UndoFromClipboard = 0;
            QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(8, 8));
            expected += c.character;
            QCOMPARE(textOf(form->Memo1), expected + QStringLiteral("b"));
            QCOMPARE(int(form->textTools()->UndoFromClipboard), 1);
            QVERIFY(form->characterTable()
                        ->Panel3->isVisible()); // several characters one after another
        }
        QCOMPARE(form->Memo1->textCursor().position(), expected.size());
        // Undo takes back the last character.
        form->textTools()->BoutUndoClick();
        const QString undone = expected.chopped(1) + QStringLiteral("b");
        QCOMPARE(textOf(form->Memo1), undone);
        // A cell inserts on a click: pressed and released on it. A press dragged off the
        // cell inserts nothing.
        auto* cellA = form->characterTable()->Panel3->findChild<QLabel*>(QStringLiteral("CH33"));
        QTest::mousePress(cellA, Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(textOf(form->Memo1), undone);
        QTest::mouseRelease(cellA, Qt::LeftButton, {}, QPoint(40, 8));
        QCOMPARE(textOf(form->Memo1), undone);
        QTest::mousePress(cellA, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseRelease(cellA, Qt::LeftButton, {}, QPoint(12, 10));
        QCOMPARE(textOf(form->Memo1),
                 QStringLiteral("A") + undone); // the undo left the caret first
        // The table follows the face, the magnifier at 18 points.
        QCOMPARE(form->characterTable()->CharLoop->font().pointSize(), 18);
        QCOMPARE(form->characterTable()->CharLoop->font().family(),
                 QString::fromStdString(form->settings.fmt.FontFace));
        QTest::mouseClick(form->characterTable()->BoutCharOk, Qt::LeftButton);
        QVERIFY(!form->characterTable()->Panel3->isVisible());
        QCOMPARE(int(form->OpenPanel), 0);
        // Pressed twice, the button closes the table again.
        form->characterTable()->BoutCaracClick();
        QCOMPARE(int(form->OpenPanel), 3);
        form->characterTable()->BoutCaracClick();
        QCOMPARE(int(form->OpenPanel), 0);
        QVERIFY(!form->characterTable()->Panel3->isVisible());
    }
};

ZK_WINDOW_TEST_MAIN(TextToolsTest)
#include "text_tools_test.moc"
