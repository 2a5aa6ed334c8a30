// The presets on the real window: the slot menu with its check mark, loading a slot's file
// into the formatting, menus and buttons, and saving the present formatting.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>

#include "preset_file.h"
#include "presets.h"
#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

// The one checked item of a group (letter + first..last), or -1; -2 when several are.
int checkedItem(TForm1* f, const QString& letter, int first, int last) {
    int found = -1;
    for (int i = first; i <= last; ++i) {
        if (f->MenuItem(letter + QString::number(i))->isChecked())
            found = found == -1 ? i : -2;
    }
    return found;
}

struct Buttons {
    bool gauche, centre, droite, gras, italique, souligne, barre;
    bool operator==(const Buttons& o) const {
        return gauche == o.gauche && centre == o.centre && droite == o.droite && gras == o.gras &&
               italique == o.italique && souligne == o.souligne && barre == o.barre;
    }
};

Buttons buttonsOf(TForm1* f) {
    return {f->styleCommands()->BoutAlignGauche->isChecked(),
            f->styleCommands()->BoutAlignCentre->isChecked(),
            f->styleCommands()->BoutAlignDroite->isChecked(),
            f->styleCommands()->BoutFontGras->isChecked(),
            f->styleCommands()->BoutFontItalique->isChecked(),
            f->styleCommands()->BoutFontSouligne->isChecked(),
            f->styleCommands()->BoutFontBarre->isChecked()};
}

} // namespace

class PresetsTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    void open(const QMap<int, QByteArray>& settingsLines = {}) {
        if (!settingsLines.isEmpty())
            folder->writeSettings(settingsLines);
        form = zktest::openWindow(*folder);
        form->Memo1->setFocus();
    }

    QString presetFile(int slot) const {
        return folder->file(QStringLiteral("Data/Presets/ZelkoHTML%1.cfg").arg(slot));
    }

    void writePreset(int slot, const QByteArray& bytes) const {
        QFile f(presetFile(slot));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Chooses "Config &k" from the menu of BoutPredefini.
    void choose(int item) {
        QAction* p = form->MenuItem(QStringLiteral("P%1").arg(item));
        QVERIFY(p);
        QCOMPARE(p->text(), QStringLiteral("Config &%1").arg(item));
        p->trigger();
        QCOMPARE(form->LastCommand, QStringLiteral("P1Click"));
    }

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void savingThePresentFormattingWritesTheEightLines() {
        open();
        form->MenuItem(QStringLiteral("T17"))->trigger();
        form->MenuItem(QStringLiteral("H3"))->trigger();
        QTest::mouseClick(form->styleCommands()->BoutAlignCentre, Qt::LeftButton);
        QTest::mouseClick(form->styleCommands()->BoutFontGras, Qt::LeftButton);
        QTest::mouseClick(form->styleCommands()->BoutFontBarre, Qt::LeftButton);
        zktest::dialogs().color = QColor(255, 0, 0);
        QTest::mouseClick(form->styleCommands()->BoutFontcouleur, Qt::LeftButton);
        QCOMPARE(form->settings.fmt.FontColor, 255);
        form->MenuItem(QStringLiteral("P1"))->setChecked(false); // the save leaves marks alone
        form->presets()->SauvegarderP->trigger();
        QCOMPARE(form->LastCommand, QStringLiteral("SauvegarderPClick"));
        QCOMPARE(zktest::readFile(presetFile(0)),
                 QByteArray("17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n"));
        QVERIFY(!form->PanError->isVisible());
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QCOMPARE(checkedItem(form.get(), QStringLiteral("P"), 1, 8), -1);
        // Nothing but the preset file is left in the folder.
        QCOMPARE(QDir(folder->file(QStringLiteral("Data/Presets"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("ZelkoHTML0.cfg")});
    }

    void anUndefinedSlotShowsTheMessageAndBecomesCurrent() {
        open();
        const zk::FormattingState before = form->settings.fmt;
        choose(3);
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), QStringLiteral("\nConfiguration non définie"));
        QCOMPARE(checkedItem(form.get(), QStringLiteral("P"), 1, 8), 3);
        QCOMPARE(int(form->settings.PresetIndex), 2);
        QCOMPARE(form->settings.fmt.FontFace, before.FontFace);
        QCOMPARE(int(form->settings.fmt.FontSizeIndex), int(before.FontSizeIndex));
        QCOMPARE(form->settings.fmt.FontColor, before.FontColor);
        form->BoutErrorClick();

        // "&Sauvegarder" now defines it.
        QTest::mouseClick(form->styleCommands()->BoutFontItalique, Qt::LeftButton);
        form->presets()->SauvegarderP->trigger();
        QCOMPARE(zktest::readFile(presetFile(2)),
                 QByteArray("0\r\n6\r\n0\r\n0\r\n0\r\n2\r\n0\r\n0\r\n"));
        QVERIFY(!form->PanError->isVisible());

        // A slot whose file cannot be opened is undefined too.
        QVERIFY(QDir().mkdir(presetFile(6)));
        choose(7);
        QCOMPARE(form->LabError->text(), QStringLiteral("\nConfiguration non définie"));
        QCOMPARE(int(form->settings.PresetIndex), 6);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("P"), 1, 8), 7);
    }

    void loadingASlotSetsTheFormattingMenusAndButtons() {
        open();
        writePreset(4, "17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n");
        form->Memo1->setPlainText(QStringLiteral("texte"));
        // The code of the start, made before the text was typed.
        const std::string before = form->codeOutput()->GeneratedCode();
        choose(5);
        QVERIFY(!form->PanError->isVisible());
        QVERIFY(zktest::dialogs().errors.isEmpty());
        const zk::FormattingState& f = form->settings.fmt;
        QCOMPARE(int(form->settings.PresetIndex), 4);
        QCOMPARE(int(f.FontFaceIndex), 17);
        QCOMPARE(f.FontFace, std::string("Tahoma"));
        QCOMPARE(int(f.FontSizeIndex), 3);
        QCOMPARE(f.FontColor, 255);
        QCOMPARE(int(f.Alignment), 1);
        QCOMPARE(int(f.Bold), 1);
        QCOMPARE(int(f.Italic), 0);
        QCOMPARE(int(f.Underline), 0);
        QCOMPARE(int(f.StrikeOut), 8);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("P"), 1, 8), 5);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("H"), 1, 7), 3);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("T"), 0, 23), 17);
        QVERIFY(buttonsOf(form.get()) == (Buttons{false, true, false, true, false, false, true}));
        QCOMPARE(form->characterTable()->Panel3->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(form->characterTable()->CharLoop->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(form->codeOutput()->GeneratedCode(), before); // no code is generated

        // Another slot: every button follows it, those that were down included.
        writePreset(1, "2\r\n7\r\n-16777201\r\n2\r\n0\r\n2\r\n4\r\n0\r\n");
        choose(2);
        QCOMPARE(f.FontFace, std::string("Arial Black"));
        QCOMPARE(f.FontColor, -16777201);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("T"), 0, 23), 2);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("H"), 1, 7), 7);
        QVERIFY(buttonsOf(form.get()) == (Buttons{false, false, true, false, true, true, false}));
    }

    void oddFilesReadByTheRules_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("face");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bold");
        QTest::addColumn<int>("strike");
        QTest::addColumn<int>("checkedFace");
        QTest::newRow("face 24: no face item checked")
            << QByteArray("24\r\n2\r\n0\r\n0\r\n1\r\n0\r\n0\r\n8\r\n") << 24 << 2 << 1 << 8 << -1;
        QTest::newRow("four lines: the styles read as 0")
            << QByteArray("5\r\n2\r\n0\r\n0\r\n") << 5 << 2 << 0 << 0 << 5;
        QTest::newRow("blank lines and trailing words")
            << QByteArray("\r\n\r\n6 Comic\r\n4\r\n0\r\n0\r\n1\r\n0\r\n0\r\n8\r\n") << 6 << 4 << 1
            << 8 << 6;
        QTest::newRow("low bits: 262 is face 6")
            << QByteArray("262\r\n1\r\n0\r\n0\r\n257\r\n0\r\n0\r\n264\r\n") << 6 << 1 << 1 << 8
            << 6;
    }
    void oddFilesReadByTheRules() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, face);
        QFETCH(int, size);
        QFETCH(int, bold);
        QFETCH(int, strike);
        QFETCH(int, checkedFace);
        open();
        form->settings.fmt.Bold = 1;
        form->settings.fmt.StrikeOut = 8;
        const std::string faceBefore = form->settings.fmt.FontFace;
        writePreset(0, bytes);
        choose(1);
        QVERIFY(zktest::dialogs().errors.isEmpty());
        const zk::FormattingState& f = form->settings.fmt;
        QCOMPARE(int(f.FontFaceIndex), face);
        QCOMPARE(int(f.FontSizeIndex), size);
        QCOMPARE(int(f.Bold), bold);
        QCOMPARE(int(f.StrikeOut), strike);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("T"), 0, 23), checkedFace);
        if (checkedFace < 0)
            QCOMPARE(f.FontFace, faceBefore);
        else
            QCOMPARE(QString::fromStdString(f.FontFace),
                     form->MenuItem(QStringLiteral("T%1").arg(checkedFace))->text());
        QCOMPARE(form->styleCommands()->BoutFontGras->isChecked(), bold != 0);
        QCOMPARE(form->styleCommands()->BoutFontBarre->isChecked(), strike != 0);
    }

    void garbageGivesInvalidNumericInputAndKeepsTheValuesReadBefore() {
        open();
        zk::FormattingState& f = form->settings.fmt;
        const zk::FormattingState before = f;
        const Buttons buttonsBefore = buttonsOf(form.get());
        const QByteArray bad = "17\r\n3\r\nrouge\r\n1\r\n1\r\n0\r\n0\r\n8\r\n";
        writePreset(3, bad);
        choose(4);
        // The file is kept as it was, under a name the message gives.
        QCOMPARE(
            zktest::dialogs().errors,
            QStringList{QStringLiteral("Invalid numeric input\r\n\r\nLe fichier a été gardé tel "
                                       "quel sous le nom :\r\n") +
                        presetFile(3) + QStringLiteral(".bak")});
        QCOMPARE(zktest::readFile(presetFile(3) + QStringLiteral(".bak")), bad);
        QVERIFY(!form->PanError->isVisible());
        QCOMPARE(int(form->settings.PresetIndex), 3);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("P"), 1, 8), 4);
        // The two lines read before the bad one are kept; the rest is untouched.
        QCOMPARE(int(f.FontFaceIndex), 17);
        QCOMPARE(int(f.FontSizeIndex), 3);
        QCOMPARE(f.FontColor, before.FontColor);
        QCOMPARE(int(f.Alignment), int(before.Alignment));
        QCOMPARE(int(f.StrikeOut), int(before.StrikeOut));
        // Menus and buttons are left as they were until the next load.
        QCOMPARE(f.FontFace, before.FontFace);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("T"), 0, 23), int(before.FontFaceIndex));
        QCOMPARE(checkedItem(form.get(), QStringLiteral("H"), 1, 7), int(before.FontSizeIndex));
        QVERIFY(buttonsOf(form.get()) == buttonsBefore);
        // The window goes on working: a good file loads.
        writePreset(3, "1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
        choose(4);
        QCOMPARE(zktest::dialogs().errors.size(), 1);
        QCOMPARE(f.FontFace, std::string("Arial"));
        // Saving over the slot leaves the kept copy alone.
        form->presets()->SauvegarderP->trigger();
        QCOMPARE(zktest::readFile(presetFile(3) + QStringLiteral(".bak")), bad);
    }

    // Only an ordinary file of a preset's size is read: a named pipe never freezes the
    // window, and both count as an undefined slot; a file too large is kept aside first.
    void aPresetThatIsNoOrdinaryFileOrTooLargeIsUndefined() {
        open();
        QCOMPARE(::mkfifo(QFile::encodeName(presetFile(1)).constData(), 0644), 0);
        writePreset(2, "1\r\n" + QByteArray(int(zk::kPresetSizeLimit), ' '));
        const zk::FormattingState before = form->settings.fmt;
        for (int item : {2, 3}) {
            choose(item);
            QCOMPARE(form->LabError->text(), QStringLiteral("\nConfiguration non définie"));
            QCOMPARE(int(form->settings.PresetIndex), item - 1);
            QCOMPARE(int(form->settings.fmt.FontFaceIndex), int(before.FontFaceIndex));
            form->BoutErrorClick();
        }
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QVERIFY(!QFileInfo::exists(presetFile(1) + QStringLiteral(".bak")));
        QCOMPARE(QFileInfo(presetFile(2) + QStringLiteral(".bak")).size(),
                 qint64(zk::kPresetSizeLimit) + 3);
    }

    // A preset file its owner made read-only stays as it is; the banner says so.
    void aReadOnlyPresetIsNotReplaced() {
        ZK_WINDOW_AS_ORDINARY_USER();
        open();
        writePreset(0, "17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n");
        QVERIFY(QFile::setPermissions(presetFile(0),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QTest::mouseClick(form->styleCommands()->BoutFontItalique, Qt::LeftButton);
        form->presets()->SauvegarderP->trigger();
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), QStringLiteral("\nERREUR en écriture"));
        QCOMPARE(zktest::readFile(presetFile(0)),
                 QByteArray("17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n"));
        QCOMPARE(QDir(folder->file(QStringLiteral("Data/Presets"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("ZelkoHTML0.cfg")});
    }

    void aPresetFolderThatCannotBeWrittenShowsTheBanner() {
        open();
        const QString presets = folder->file(QStringLiteral("Data/Presets"));
        QVERIFY(QDir(presets).removeRecursively());
        QFile blocker(presets);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        form->presets()->SauvegarderP->trigger();
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), QStringLiteral("\nERREUR en écriture"));
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QCOMPARE(zktest::readFile(presets), QByteArray());
    }

    void theSavedSlotIsCheckedAtStart_data() {
        QTest::addColumn<QByteArray>("line18");
        QTest::addColumn<int>("checked");
        QTest::addColumn<int>("savedAs");
        QTest::newRow("slot 3") << QByteArray("3") << 4 << 3;
        QTest::newRow("slot 9 from a hand-edited file") << QByteArray("9") << -1 << 9;
    }
    void theSavedSlotIsCheckedAtStart() {
        QFETCH(QByteArray, line18);
        QFETCH(int, checked);
        QFETCH(int, savedAs);
        open({{18, line18}});
        QCOMPARE(checkedItem(form.get(), QStringLiteral("P"), 1, 8), checked);
        form->presets()->SauvegarderP->trigger();
        QVERIFY(QFile::exists(presetFile(savedAs)));
        QVERIFY(!form->PanError->isVisible());
        // The slot survives the run.
        form->close();
        QCOMPARE(folder->settingsLines().at(17), line18 + '\r');
    }

    void menuOpensBelowTheButtonWithItsItems() {
        open();
        QCOMPARE(form->BoutPredefini->menu(), form->presets()->Popup4);
        const QList<QAction*> items = form->presets()->Popup4->actions();
        QCOMPARE(items.size(), 10);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(items.at(i)->objectName(), QStringLiteral("P%1").arg(i + 1));
            QCOMPARE(items.at(i)->data().toInt(), i + 1);
            QVERIFY(items.at(i)->isCheckable());
        }
        QVERIFY(items.at(8)->isSeparator());
        QCOMPARE(items.at(9)->text(), QStringLiteral("&Sauvegarder"));
        // Choosing from the opened menu runs the command.
        zktest::whenShown(form->presets()->Popup4, [this] {
            QMenu* menu = form->presets()->Popup4;
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(form->MenuItem(QStringLiteral("P6"))).center());
        });
        QTest::mouseClick(form->BoutPredefini, Qt::LeftButton);
        QTRY_COMPARE(int(form->settings.PresetIndex), 5);
        QCOMPARE(checkedItem(form.get(), QStringLiteral("P"), 1, 8), 6);
    }
};

ZK_WINDOW_TEST_MAIN(PresetsTest)
#include "presets_test.moc"
