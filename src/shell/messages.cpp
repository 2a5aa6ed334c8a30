// The window's own behaviour: the error banner, the overlay panels, the character table
// font, always-on-top, the tray icon and its menu.
#include "main_window.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

#include "character_table.h"
#include "image_list_panel.h"
#include "sounds.h"
#include "text.h"
#include "text_tools.h"
#include "tray.h"
#include "widget_kit.h"

using zk::platform::kParkLeft;
using zk::platform::kParkTop;

namespace {

struct Place {
    int left;
    int top;
};

Place overlayPlace(int n) {
    switch (n) {
    case 3:
        return {120, 72};
    case 7:
        return {0, 216};
    default: // the code view and the preferences cover the editor
        return {0, 32};
    }
}
} // namespace

void TForm1::ShowError(const QString& message) {
    PanError->move(124, 156);
    Panel1->setEnabled(false);
    Panel2->setEnabled(false);
    QString shown = message;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    LabError->setText(shown);
    PanError->raise();
    PanError->show();
    zk::platform::informationSound();
}

void TForm1::BoutErrorClick() {
    PanError->hide();
    PanError->move(kParkLeft, kParkTop);
    Panel1->setEnabled(true);
    Panel2->setEnabled(true);
}

void TForm1::CloseOverlayPanels() {
    if (OpenPanel == 0)
        return;
    if (QWidget* panel = OverlayPanel(OpenPanel)) {
        panel->hide();
        panel->move(kParkLeft, kParkTop);
    }
    OpenPanel = 0;
}

void TForm1::ToggleOverlayPanel(int n, const std::function<void()>& fill,
                                const std::function<void()>& closeAction) {
    QWidget* panel = OverlayPanel(n);
    if (!panel)
        return;
    if (panel->isVisible()) {
        closeAction();
        return;
    }
    CloseOverlayPanels();
    OpenPanel = static_cast<std::uint8_t>(n);
    if (fill)
        fill();
    const Place place = overlayPlace(n);
    panel->move(place.left, place.top);
    panel->raise();
    if (QWidget* prompt = imagePanel_->Panel6; prompt->isVisible())
        prompt->raise(); // the list-name prompt stays above the panels
    if (PanError->isVisible())
        PanError->raise();
    panel->show();
}

void TForm1::InsertAtCaret(const QString& opening, const QString& closing) {
    textTools_->InsertAtCaret(opening, closing);
}

void TForm1::ApplyCharacterTableFont() {
    characterTable_->ApplyCharacterTableFont(QString::fromStdString(settings.fmt.FontFace));
}

void TForm1::BoutTopClick() {
    settings.AlwaysOnTop ^= 1;
    ApplyAlwaysOnTop();
}

void TForm1::ApplyAlwaysOnTop() {
    if (settings.AlwaysOnTop > 1)
        return;
    const bool on = settings.AlwaysOnTop == 1;
    // Changed in place: neither moved nor activated, and not hidden as a new flag set would be.
    const Qt::WindowFlags flags =
        on ? windowFlags() | Qt::WindowStaysOnTopHint : windowFlags() & ~Qt::WindowStaysOnTopHint;
    overrideWindowFlags(flags);
    if (QWindow* handle = windowHandle())
        handle->setFlags(flags);
}

bool TForm1::IsTopmost() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

bool TForm1::TrayAvailable() const {
    return Tray && Tray->available();
}

void TForm1::HideToTray() {
    if (TrayAvailable())
        hide();
    else
        showMinimized(); // no notification area: the task bar keeps it reachable
}

void TForm1::ShowFromTray() {
    // A window hidden while minimised is shown first, then restored: restoring a hidden
    // window would have the window system map it behind the toolkit's back, unpainted.
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TForm1::RaiseFromOtherCopy() {
    ShowFromTray();
    emit raisedByOtherCopy();
}

void TForm1::TrayDblClick() {
    if (!isVisible())
        ShowFromTray();
}

void TForm1::AfficherTrayClick() {
    TrayDblClick();
}

void TForm1::CacherTrayClick() {
    if (isVisible())
        HideToTray();
}

void TForm1::Popup9Popup() {
    AfficherTray->setEnabled(!isVisible());
    CacherTray->setEnabled(isVisible());
}

void TForm1::SetShowHint(bool on) {
    ShowHint = on;
    if (!on)
        QToolTip::hideText();
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TrayAvailable()) {
        // Minimising hides the window behind the tray icon. It stays minimised while
        // hidden; ShowFromTray restores it once it is shown again.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized() && isVisible())
                hide();
        });
    }
}
