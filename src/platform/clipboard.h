#pragma once

#include <QString>

namespace zk::platform {

// The system clipboard's plain text, as Unicode. Empty when it holds no text.
// Reading from another program's clipboard is bounded by the toolkit's own time-out,
// so a dead owner cannot hang the window.
QString clipboardText();

// Replaces the clipboard's content with exactly this text (possibly empty).
void setClipboardText(const QString& text);

} // namespace zk::platform
