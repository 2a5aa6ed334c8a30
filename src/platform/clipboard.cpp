#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "page_picture.h"

namespace zk::platform {

QString clipboardText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    if (!data)
        return QString();
    // One question to the owner first: an owner that does not answer costs one time-out,
    // not one for each text format tried (an empty list is not remembered).
    if (data->formats().isEmpty())
        return QString();
    return data->hasText() ? data->text() : QString();
}

void setClipboardText(const QString& text, const QString& html) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (html.isEmpty()) {
        clipboard->setText(text, QClipboard::Clipboard);
        return;
    }
    auto* data = new QMimeData;
    data->setText(text);
    data->setHtml(html);
    clipboard->setMimeData(data, QClipboard::Clipboard); // the clipboard owns it
}

void setClipboardImage(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setData(QStringLiteral("image/png"), pngOf(image));
    clipboard->setMimeData(data, QClipboard::Clipboard); // the clipboard owns it
}

} // namespace zk::platform
