// The presets menu alone, on a stand-in host: the slot made current and checked, the file
// read into the formatting and told to the window, the messages of an undefined slot, a bad
// line and a file that cannot be written, and the copy kept of a file read in part.
#include <QAction>
#include <QFile>
#include <QMenu>

#include "part_test_support.h"
#include "preset_file.h"
#include "presets.h"

using namespace zktest;
using zk::ui::Presets;

class PresetsMenuTest final : public QObject {
    Q_OBJECT

    struct Setup {
        AppFolder folder;
        FakeHost host;
        zk::AppSettings settings;
        QStringList keptCopies;
        QStringList replaceAsked;
        bool mayReplace = true;
        Presets presets{host, settings, &host.window, folder.path(),
                        Presets::UnreadFiles{[this](const QString& path) {
                                                 keptCopies.append(path);
                                                 return QStringLiteral(" (copie gardée)");
                                             },
                                             [this](const QString& path) {
                                                 replaceAsked.append(path);
                                                 return mayReplace;
                                             }}};
        int loadedCount = 0;

        Setup() {
            QObject::connect(&presets, &Presets::presetLoaded, [this] { ++loadedCount; });
        }
        QString slotFile(int n) const {
            return folder.file(QStringLiteral("Data/Presets/ZelkoHTML%1.cfg").arg(n));
        }
        void writeSlot(int n, const QByteArray& bytes) const {
            QFile f(slotFile(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        int checkedSlot() const {
            int found = -1;
            for (int k = 1; k <= 8; ++k)
                if (presets.SlotItem(k)->isChecked())
                    found = found == -1 ? k : -2;
            return found;
        }
    };

private slots:
    void init() { dialogs() = FakeDialogs(); }

    void menuHoldsEightSlotsAndSave() {
        Setup s;
        const QList<QAction*> items = s.presets.Popup4->actions();
        QCOMPARE(items.size(), 10);
        for (int k = 1; k <= 8; ++k) {
            QCOMPARE(items.at(k - 1), s.presets.SlotItem(k));
            QCOMPARE(items.at(k - 1)->text(), QStringLiteral("Config &%1").arg(k));
            QCOMPARE(items.at(k - 1)->property("Tag").toInt(), k);
        }
        QVERIFY(items.at(8)->isSeparator());
        QCOMPARE(items.at(8)->objectName(), QStringLiteral("N8"));
        QCOMPARE(items.at(9), s.presets.SauvegarderP);
        QCOMPARE(s.presets.Popup4->parentWidget(), &s.host.window);
    }

    void chosenSlotIsLoadedAndToldToTheWindow() {
        Setup s;
        s.writeSlot(4, "17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n");
        s.presets.SlotItem(5)->trigger();
        QCOMPARE(s.host.lastCommand, QStringLiteral("P1Click"));
        QCOMPARE(int(s.settings.PresetIndex), 4);
        QCOMPARE(s.checkedSlot(), 5);
        const zk::FormattingState& f = s.settings.fmt;
        QCOMPARE(int(f.FontFaceIndex), 17);
        QCOMPARE(int(f.FontSizeIndex), 3);
        QCOMPARE(f.FontColor, 255);
        QCOMPARE(int(f.Alignment), 1);
        QCOMPARE(int(f.StrikeOut), 8);
        QCOMPARE(s.loadedCount, 1);
        QVERIFY(s.host.errors.isEmpty());
        QVERIFY(s.keptCopies.isEmpty());
    }

    void undefinedSlotBecomesCurrentWithTheBanner() {
        Setup s;
        const zk::FormattingState before = s.settings.fmt;
        s.presets.LoadPreset(2);
        QCOMPARE(s.host.errors, QStringList{QStringLiteral("\r\nConfiguration non définie")});
        QCOMPARE(int(s.settings.PresetIndex), 2);
        QCOMPARE(s.checkedSlot(), 3);
        QCOMPARE(s.loadedCount, 0);
        QCOMPARE(s.settings.fmt.FontSizeIndex, before.FontSizeIndex);
        // Saving then creates the file of that slot.
        s.settings.fmt.Bold = 1;
        s.presets.SauvegarderP->trigger();
        QCOMPARE(s.host.lastCommand, QStringLiteral("SauvegarderPClick"));
        QCOMPARE(s.replaceAsked, QStringList{s.slotFile(2)});
        QCOMPARE(readFile(s.slotFile(2)).split('\n').at(4), QByteArray("1\r"));
        QCOMPARE(s.host.errors.size(), 1);
    }

    void badLineKeepsACopyAndTellsNothingToTheWindow() {
        Setup s;
        s.writeSlot(0, "5\r\n2\r\nabc\r\n");
        s.presets.LoadPreset(0);
        QCOMPARE(dialogs().errors, QStringList{QString::fromLatin1(zk::kInvalidNumericInput) +
                                               QStringLiteral(" (copie gardée)")});
        QCOMPARE(s.keptCopies, QStringList{s.slotFile(0)});
        QCOMPARE(int(s.settings.fmt.FontFaceIndex), 5); // the lines before it are kept
        QCOMPARE(s.loadedCount, 0);
        QVERIFY(s.host.errors.isEmpty());
    }

    void fileThatMayNotBeReplacedIsReportedAsAFailedWrite() {
        Setup s;
        s.writeSlot(1, "kept as it was");
        s.settings.PresetIndex = 1;
        s.mayReplace = false;
        s.presets.SauvegarderPClick();
        QCOMPARE(s.host.errors, QStringList{QStringLiteral("\r\nERREUR en écriture")});
        QCOMPARE(readFile(s.slotFile(1)), QByteArray("kept as it was"));
        // A slot beyond the menu is saved under its own number, no item checked.
        s.mayReplace = true;
        s.settings.PresetIndex = 9;
        s.presets.CheckSlot(9);
        QCOMPARE(s.checkedSlot(), -1);
        s.presets.SauvegarderPClick();
        QVERIFY(QFile::exists(s.slotFile(9)));
        QCOMPARE(s.host.errors.size(), 1);
    }
};

ZK_PART_TEST_MAIN(PresetsMenuTest)
#include "presets_menu_test.moc"
