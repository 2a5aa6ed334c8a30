#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace zk::platform {

QString clipboardText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text(QClipboard::Clipboard) : QString();
}

void setClipboardText(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text, QClipboard::Clipboard);
}

} // namespace zk::platform
