// The character table: the overlay panel Panel3 with a cell for every character of codes
// 32 to 255, the magnifier and the code of the cell under the mouse; a click inserts the
// cell's character at the caret through the window.
#pragma once

#include <QObject>
#include <QString>

#include "commands.h"

class QLabel;
class QPushButton;
class QWidget;

namespace zk::platform {
class WindowHost;
}

namespace zk::ui {

class CharacterTable final : public QObject {
    Q_OBJECT

public:
    // window: the parent of the panel, which the window opens as its overlay panel 3.
    CharacterTable(zk::platform::WindowHost& host, QWidget* window);

    QWidget* Panel3 = nullptr;
    QLabel* CharLoop = nullptr; // magnifier
    QLabel* CharCode = nullptr;
    QPushButton* BoutCharOk = nullptr;

    // The part's commands: the window places its button from these rows.
    static const zk::platform::Command<CharacterTable>& CommandRow(const char* name);

    // Builds the 224 cells "CH0".."CH223" (once).
    void BuildCharacterTable();
    // The panel and the magnifier (at 18 points) in face; opening the panel applies the
    // face told last again.
    void ApplyCharacterTableFont(const QString& face);

    void BoutCaracClick();
    void BoutCharOkClick();
    void CharLoopMouseMove(QLabel* cell);
    void CharClick(QLabel* cell);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    zk::platform::WindowHost& host_;
    QString face_;
    bool built_ = false;
    QLabel* pressedCell_ = nullptr; // the cell a left press started on
};

} // namespace zk::ui
