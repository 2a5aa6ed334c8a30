// The editors of the window: plain text in, plain text out.
#pragma once

#include <QMimeData>
#include <QPlainTextEdit>

// Takes only the text of whatever is pasted or dropped. The toolkit's own insertion can
// crash on a clipboard that holds no data at all (nothing copied yet in the session), so
// it is never reached.
class PlainMemo final : public QPlainTextEdit {
public:
    explicit PlainMemo(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override {
        return source && source->hasText();
    }
    void insertFromMimeData(const QMimeData* source) override {
        if (source && source->hasText())
            insertPlainText(source->text());
    }
};
