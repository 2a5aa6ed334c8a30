// The editors of the window: plain text in, plain text out.
#pragma once

#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

// The selected characters exactly as the document holds them (no-break spaces kept),
// lines separated by U+2029.
inline QString rawSelection(const QPlainTextEdit* editor) {
    const QTextCursor cursor = editor->textCursor();
    return editor->document()->toRawText().mid(cursor.selectionStart(),
                                               cursor.selectionEnd() - cursor.selectionStart());
}

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
    // The exact characters of the selection: the toolkit's own copy turns no-break spaces
    // into spaces, and Ctrl+C, Ctrl+X and drags come through here.
    QMimeData* createMimeDataFromSelection() const override {
        QString selected = rawSelection(this);
        selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        auto* data = new QMimeData;
        data->setText(selected);
        return data;
    }
};
