#pragma once

#include <QImage>
#include <QString>

namespace zk::platform {

// The system clipboard's plain text, as Unicode. Empty when it holds no text.
// Reading from another program's clipboard is bounded by the toolkit's own time-out,
// so a dead owner cannot hang the window.
QString clipboardText();

// Replaces the clipboard's content with exactly this text (possibly empty) and, when html
// is not empty, the same content formatted, as text/html, for the editors that take it.
void setClipboardText(const QString& text, const QString& html = QString());

// Replaces the clipboard's content with a picture, offered as PNG (image/png) among the
// toolkit's picture formats.
void setClipboardImage(const QImage& image);

} // namespace zk::platform
