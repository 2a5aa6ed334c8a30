#include "entry_rows.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>
#include <memory>

namespace zk::ui {

namespace {

constexpr int kMargin = 8;
constexpr int kWidestRow = 1 << 24; // a wider row helps no one

// Gives every row the one size of the box's rows.
class UniformRows final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (height_ <= 0)
            height_ = std::max(QStyledItemDelegate::sizeHint(option, index).height(), 1);
        return {width_, height_};
    }
    int width() const { return width_; }
    void setWidth(int width) { width_ = width; }

private:
    int width_ = 0;
    mutable int height_ = 0;
};

UniformRows* rowsOf(const QListWidget* list) {
    return static_cast<UniformRows*>(list->itemDelegate());
}

// The widths of entries in the box's font, in pixels. Latin text is measured from the
// advances of its characters, looked up once each, so a long list is measured without a
// pause; other text, and the widest entry found, are measured whole.
class EntryWidths final {
public:
    explicit EntryWidths(const QFont& font) : metrics_(font) { advance_.fill(-1); }

    int widest(const QStringList& entries) {
        qint64 widest = 0;
        qsizetype widestIndex = -1;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const qint64 width = estimate(entries[i]);
            if (width > widest) {
                widest = width;
                widestIndex = i;
            }
        }
        if (widestIndex >= 0 && widest < kWidestRow)
            widest = std::max<qint64>(widest, metrics_.horizontalAdvance(entries[widestIndex]));
        return static_cast<int>(std::min<qint64>(widest, kWidestRow));
    }

private:
    qint64 estimate(const QString& entry) {
        qint64 width = 0;
        for (const QChar c : entry) {
            const char16_t u = c.unicode();
            if (u >= advance_.size())
                return metrics_.horizontalAdvance(entry);
            if (advance_[u] < 0)
                advance_[u] = metrics_.horizontalAdvance(c);
            width += advance_[u];
        }
        return width;
    }

    QFontMetrics metrics_;
    std::array<int, 0x250> advance_;
};

QStringList toStrings(const std::vector<std::string>& entries) {
    QStringList strings;
    strings.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        strings.append(QString::fromStdString(entry));
    return strings;
}

// Makes the rows fit textWidth pixels of text: wider when widen, else exactly.
void fitRows(QListWidget* list, int textWidth, bool widen) {
    UniformRows* rows = rowsOf(list);
    const int width = std::min(textWidth, kWidestRow) + kMargin;
    if (width == rows->width() || (widen && width < rows->width()))
        return;
    rows->setWidth(width);
    list->doItemsLayout(); // the one size is cached by the view
}

} // namespace

void setUpEntryRows(QListWidget* list) {
    list->setUniformItemSizes(true);
    list->setItemDelegate(new UniformRows(list));
}

void showEntries(QListWidget* list, const std::vector<std::string>& entries) {
    const QSignalBlocker block(list);
    list->clear();
    const QStringList strings = toStrings(entries);
    rowsOf(list)->setWidth(0);
    list->addItems(strings);
    fitRows(list, EntryWidths(list->font()).widest(strings), false);
}

void insertEntries(QListWidget* list, int row, const std::vector<std::string>& entries) {
    const QSignalBlocker block(list);
    const QStringList strings = toStrings(entries);
    list->insertItems(row, strings);
    fitRows(list, EntryWidths(list->font()).widest(strings), true);
}

void removeEntry(QListWidget* list, int row) {
    const QSignalBlocker block(list);
    EntryWidths widths(list->font());
    std::unique_ptr<QListWidgetItem> item(list->takeItem(row));
    // Only the widest entry going makes the rows narrower: then the others are measured.
    if (!item || widths.widest({item->text()}) + kMargin < rowsOf(list)->width())
        return;
    QStringList strings;
    strings.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        strings.append(list->item(i)->text());
    fitRows(list, widths.widest(strings), false);
}

} // namespace zk::ui
