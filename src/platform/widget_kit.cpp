#include "widget_kit.h"

#include <QAction>
#include <QActionGroup>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace zk::platform {

QWidget* makePanel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(x, y, w, h);
    return panel;
}

QWidget* makeOverlay(QWidget* parent, const char* name, int w, int h) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(kParkLeft, kParkTop, w, h);
    panel->hide();
    return panel;
}

void moveToEndOfTabOrder(QWidget* panel) {
    // A widget leaving its window takes all its controls out of the window's Tab order in
    // one block; coming back, the block is put at the end.
    QWidget* window = panel->parentWidget();
    const QRect geometry = panel->geometry();
    const bool shown = !panel->isHidden();
    panel->setParent(nullptr);
    panel->setParent(window);
    panel->setGeometry(geometry);
    panel->setVisible(shown);
}

void setCaption(QToolButton* b, const QString& text, const QColor& color, bool italic,
                bool underline, bool strike) {
    constexpr int kLetterHeight = 11; // pixels, like the icons' drawings in their 16 x 16
    QFont f(QStringLiteral("Courier"), 9);
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(true);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strike);
    for (int px = QFontInfo(f).pixelSize(); px < 20; ++px) {
        if (QFontMetrics(f).tightBoundingRect(text).height() >= kLetterHeight)
            break;
        f.setPixelSize(px + 1);
    }
    b->setFont(f);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QPalette pal = b->palette();
    if (color.isValid())
        pal.setColor(QPalette::ButtonText, color);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    b->setPalette(pal);
}

void makeDropDown(QToolButton* b, QMenu* menu) {
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    b->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    // The menu took the mouse: the button never saw it leave and would stay highlighted.
    QObject::connect(menu, &QMenu::aboutToHide, b, [b] {
        b->setAttribute(Qt::WA_UnderMouse, false);
        b->update();
    });
}

QPushButton* makePushButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                            int w, int h) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, y, w, h);
    return b;
}

QAction* makeGroupItem(QMenu* menu, QActionGroup* group, const QString& name,
                       const QString& caption, int tag) {
    QAction* a = menu->addAction(caption);
    group->addAction(a);
    a->setObjectName(name);
    a->setCheckable(true);
    a->setData(tag);
    a->setProperty("Tag", tag);
    return a;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                  int h) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, w, h);
    return l;
}

} // namespace zk::platform
