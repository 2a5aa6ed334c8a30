// The character table alone, on a stand-in host: the cells, the magnifier, the insertion
// asked of the host, the panel opened and closed through the host, the face it is told.
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "character_table.h"
#include "part_test_support.h"

using namespace zktest;

class CharacterTableTest final : public QObject {
    Q_OBJECT

    struct Setup {
        Setup() {
            part = new zk::ui::CharacterTable(host, &host.window);
            host.window.resize(544, 415);
        }
        FakeHost host;
        zk::ui::CharacterTable* part = nullptr;
        QLabel* cell(int n) const {
            return part->Panel3->findChild<QLabel*>(QStringLiteral("CH%1").arg(n));
        }
    };

private slots:
    // The panel is made parked and hidden; its cells come once, when built.
    void cellsAreBuiltOnce() {
        Setup s;
        QCOMPARE(s.part->Panel3->parentWidget(), &s.host.window);
        QVERIFY(!s.part->Panel3->isVisibleTo(&s.host.window));
        QCOMPARE(s.part->Panel3->size(), QSize(280, 288));
        QCOMPARE(s.part->CharCode->text(), QStringLiteral("255"));
        QVERIFY(!s.cell(0));
        s.part->BuildCharacterTable();
        s.part->BuildCharacterTable();
        QCOMPARE(
            s.part->Panel3->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^CH\\d+$")))
                .size(),
            224);
        QCOMPARE(s.cell(223)->property("Tag").toInt(), 255);
        QCOMPARE(s.cell(117)->text(), QString(QChar(0x2022)));
    }

    // A click asks the host to insert the cell's own character (never an entity), with
    // nothing after it; the magnifier follows the mouse.
    void aClickInsertsTheCharacterThroughTheHost_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("character");
        QTest::newRow("space") << 0 << QStringLiteral(" ");
        QTest::newRow("e acute") << 201 << QStringLiteral("é");
        QTest::newRow("euro, code 128") << 96 << QString(QChar(0x20AC));
        QTest::newRow("y diaeresis") << 223 << QStringLiteral("ÿ");
    }
    void aClickInsertsTheCharacterThroughTheHost() {
        QFETCH(int, n);
        QFETCH(QString, character);
        Setup s;
        s.part->BuildCharacterTable();
        QLabel* cell = s.cell(n);
        QVERIFY(cell);
        QMouseEvent move(QEvent::MouseMove, QPointF(8, 8), cell->mapToGlobal(QPointF(8, 8)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(cell, &move);
        QCOMPARE(s.part->CharLoop->text(), character);
        QCOMPARE(s.part->CharCode->text(), QString::number(n + 32));
        QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(s.host.insertions, (QList<QPair<QString, QString>>{{character, QString()}}));
        // A press dragged off the cell, or another button, inserts nothing.
        QTest::mousePress(cell, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseRelease(cell, Qt::LeftButton, {}, QPoint(40, 8));
        QTest::mouseClick(cell, Qt::RightButton, {}, QPoint(8, 8));
        QCOMPARE(s.host.insertions.size(), 1);
    }

    // The button opens panel 3 through the host in the face told last, and closes it when
    // pressed again; "Ok" closes the host's panels. Each records its command.
    void theButtonTogglesThePanelInTheFaceToldLast() {
        Setup s;
        QToolButton* button = s.host.builder.button(
            &s.host.window, s.part, zk::ui::CharacterTable::CommandRow("BoutCarac"));
        QCOMPARE(button->objectName(), QStringLiteral("BoutCarac"));
        QCOMPARE(button->toolTip(), QStringLiteral("Table des caractères"));
        s.part->ApplyCharacterTableFont(QStringLiteral("Courier New"));
        QCOMPARE(s.part->Panel3->font().family(), QStringLiteral("Courier New"));
        s.part->Panel3->setFont(QFont(QStringLiteral("Verdana")));
        button->click();
        QCOMPARE(s.host.lastCommand, QStringLiteral("BoutCaracClick"));
        QCOMPARE(s.host.openPanel, 3);
        QCOMPARE(s.part->Panel3->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(s.part->CharLoop->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(s.part->CharLoop->font().pointSize(), 18);
        const int closes = s.host.closeCalls;
        button->click();
        QCOMPARE(s.host.openPanel, 0);
        QCOMPARE(s.host.closeCalls, closes + 1);

        button->click();
        QCOMPARE(s.host.openPanel, 3);
        s.part->BoutCharOk->click();
        QCOMPARE(s.host.lastCommand, QStringLiteral("BoutCharOkClick"));
        QCOMPARE(s.host.openPanel, 0);
        QVERIFY(s.host.insertions.isEmpty());
        QVERIFY(s.host.errors.isEmpty());
    }
};

ZK_PART_TEST_MAIN(CharacterTableTest)
#include "character_table_test.moc"
