#include "character_table.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <utility>

#include "insertions.h"
#include "text.h"
#include "widget_kit.h"
#include "window_host.h"

namespace zk::ui {

namespace {
constexpr int kFirstCode = 32;
constexpr int kCells = 224;

const zk::platform::Command<CharacterTable> kCommands[] = {
    {"BoutCarac", nullptr, "Table des caractères", nullptr, nullptr, false,
     ZK_HANDLER(CharacterTable, BoutCaracClick)},
};
} // namespace

const zk::platform::Command<CharacterTable>& CharacterTable::CommandRow(const char* name) {
    return zk::platform::commandRow(kCommands, name);
}

CharacterTable::CharacterTable(zk::platform::WindowHost& host, QWidget* window)
    : QObject(window), host_(host) {
    using namespace zk::platform;
    Panel3 = makeOverlay(window, "Panel3", 280, 288);
    CharLoop = makeLabel(Panel3, "CharLoop", QString(), 12, 244, 36, 36);
    CharLoop->setAlignment(Qt::AlignCenter);
    CharLoop->setFrameShape(QFrame::Box);
    CharLoop->setAutoFillBackground(true);
    CharLoop->setBackgroundRole(QPalette::Base);
    CharCode = makeLabel(Panel3, "CharCode", QStringLiteral("255"), 60, 252, 120, 20);
    BoutCharOk = makePushButton(Panel3, "BoutCharOk", QStringLiteral("Ok"), 204, 252);
    host_.commands().wire(BoutCharOk, &QPushButton::clicked, this,
                          ZK_HANDLER(CharacterTable, BoutCharOkClick));
}

void CharacterTable::BuildCharacterTable() {
    if (std::exchange(built_, true))
        return;
    for (int n = 0; n < kCells; ++n) {
        auto* cell = new QLabel(Panel3);
        cell->setObjectName(QStringLiteral("CH%1").arg(n));
        cell->setProperty("Tag", n + kFirstCode);
        cell->setText(QString(
            QChar(char16_t(zk::cp1252ToUnicode(static_cast<unsigned char>(n + kFirstCode))))));
        cell->setGeometry(16 * (n % 16) + 12, 16 * (n / 16) + 12, 16, 16);
        cell->setAlignment(Qt::AlignCenter);
        cell->setCursor(Qt::PointingHandCursor);
        cell->setMouseTracking(true);
        cell->installEventFilter(this);
        cell->show();
    }
}

void CharacterTable::ApplyCharacterTableFont(const QString& face) {
    face_ = face;
    QFont f = Panel3->font();
    f.setFamily(face);
    Panel3->setFont(f);
    QFont loop = CharLoop->font();
    loop.setFamily(face);
    loop.setPointSize(18);
    CharLoop->setFont(loop);
}

void CharacterTable::BoutCaracClick() {
    host_.ToggleOverlayPanel(
        3, [this] { ApplyCharacterTableFont(face_); }, [this] { BoutCharOkClick(); });
}

void CharacterTable::BoutCharOkClick() {
    host_.CloseOverlayPanels();
}

void CharacterTable::CharLoopMouseMove(QLabel* cell) {
    const int code = cell->property("Tag").toInt();
    CharLoop->setText(QString::fromStdString(zk::characterForCode(code)));
    CharCode->setText(QString::number(code));
}

void CharacterTable::CharClick(QLabel* cell) {
    // The character itself, never an entity: the code page's character for that code. The
    // host takes the undo copy.
    host_.InsertAtCaret(QString::fromStdString(zk::characterForCode(cell->property("Tag").toInt())),
                        QString());
}

bool CharacterTable::eventFilter(QObject* watched, QEvent* event) {
    // Only the cells are watched.
    auto* cell = static_cast<QLabel*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        // A click: pressed and released on the same cell. A press dragged away inserts
        // nothing.
        if (event->type() == QEvent::MouseButtonPress)
            pressedCell_ = cell;
        else if (event->type() == QEvent::MouseButtonRelease &&
                 std::exchange(pressedCell_, nullptr) == cell &&
                 cell->rect().contains(mouse->position().toPoint()))
            CharClick(cell);
        return true;
    }
    case QEvent::MouseMove:
        CharLoopMouseMove(cell);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zk::ui
