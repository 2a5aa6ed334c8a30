// The image list panel: choosing a list, previewing, adding and deleting its entries,
// inserting an image tag, the whole list in the web browser, files dropped from the
// desktop, and the capture of the browser's address.
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineView>

#include "browser_capture.h"
#include "clipboard.h"
#include "data_path.h"
#include "entry_rows.h"
#include "image_list.h"
#include "list_store.h"
#include "main_window.h"
#include "preview_page.h"
#include "shell.h"
#include "sounds.h"

namespace {

// Passes the drag and drop events of the list box to the window's drop handler.
class ListDropHook final : public QObject {
public:
    explicit ListDropHook(TForm1* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return form_->TraiteDrag(watched, event) || QObject::eventFilter(watched, event);
    }

private:
    TForm1* form_ = nullptr;
};

// The image page, shown in WebB2.
zk::platform::PreviewPage imagePage(TForm1& form) {
    return {form, form.ImagePagePath(), [&form] { return form.EnsureWebB2(); }};
}

// The row of the selected entry, -1 when none is selected (the current row of a list box
// that just got the focus is not a selection).
int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.constFirst());
}

void selectRow(QListWidget* list, int row) {
    const QSignalBlocker block(list);
    list->setCurrentRow(row);
}

bool hasList(const TForm1& form) {
    return form.settings.CurrentList >= 0 && form.settings.CurrentList < form.Rubrique->count();
}

// The panel's layout (512 x 180): the list names and the list commands in a row at the
// top left, the entries below them with their column of commands on the right, and the
// preview taking the right side whole.
constexpr QRect kRubriqueRect(0, 0, 192, 24);
constexpr QRect kListImgRect(0, 32, 240, 148);
constexpr QRect kWebB2Rect(272, 0, 240, 180);
constexpr int kButtonSize = 24;
constexpr int kListRowLeft = 196;     // right of Rubrique
constexpr int kEntryColumnLeft = 244; // centred between ListImg and WebB2

void layOutImagePanel(TForm1& form) {
    form.Rubrique->setGeometry(kRubriqueRect);
    form.ListImg->setGeometry(kListImgRect);
    int x = kListRowLeft;
    for (QToolButton* b : {form.BoutImgNouv, form.BoutImgEff, form.BoutImgRen}) {
        b->setGeometry(x, kRubriqueRect.top(), kButtonSize, kButtonSize);
        x += kButtonSize;
    }
    int y = kListImgRect.top();
    for (QToolButton* b : {form.BoutVoirList, form.BoutCapture, form.BoutImgAdd, form.BoutImgSupp,
                           form.BoutImgInser, form.BoutImgFermer}) {
        b->setGeometry(kEntryColumnLeft, y, kButtonSize, kButtonSize);
        y += kButtonSize;
    }
}

// The first local file of a drop from the desktop; empty when the drop holds none.
QString firstDroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

QString TForm1::ImagePagePath() const {
    return zk::platform::dataPath(AppFolder, zk::data::kImagePage);
}

QWebEngineView* TForm1::EnsureWebB2() {
    if (!WebB2)
        WebB2 = zk::platform::makeBrowserView(*this, Panel7, QStringLiteral("WebB2"), kWebB2Rect);
    return WebB2;
}

void TForm1::SetUpImagePanel() {
    layOutImagePanel(*this);
    ListImg->setSelectionMode(QAbstractItemView::SingleSelection);
    ListImg->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    ListImg->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    zk::ui::setUpEntryRows(ListImg);
    // Entries can be dragged; the list takes them back over itself only, and files from
    // the desktop. Dropping an entry changes nothing.
    ListImg->setDragEnabled(true);
    ListImg->setAcceptDrops(true);
    ListImg->setDragDropMode(QAbstractItemView::DragDrop);
    ListImg->setDefaultDropAction(Qt::CopyAction);
    ListImg->setDropIndicatorShown(false);
    auto* hook = new ListDropHook(this);
    ListImg->installEventFilter(hook);
    ListImg->viewport()->installEventFilter(hook);
    BrowserCapture = new zk::platform::BrowserWindowInfoRequest(this);
    connect(BrowserCapture, &zk::platform::BrowserWindowInfoRequest::finished, this,
            [this](const zk::platform::BrowserReply& reply) {
                // Only the address is kept, and only one that is an address: the page's
                // title and a refused address never reach an inserted tag or a list.
                SelectedAddress =
                    QString::fromStdString(zk::addressFromBrowserReply(reply.text.toStdString()));
                zk::platform::setClipboardText(SelectedAddress);
            });
    // A selection the user makes with the keyboard previews the entry; one made with the
    // mouse is previewed by the click that ends it.
    connect(ListImg, &QListWidget::itemSelectionChanged, this, [this] {
        if (QApplication::mouseButtons() != Qt::NoButton || ListImg->count() == 0)
            return;
        Commands->run("ListImgClick", [this] { ListImgClick(); });
    });
}

bool TForm1::TraiteDrag(QObject* watched, QEvent* event) {
    if (watched != ListImg && watched != ListImg->viewport())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->source() == ListImg || !firstDroppedFile(drag->mimeData()).isEmpty()) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->source() == ListImg) {
            drop->setDropAction(Qt::IgnoreAction); // the entry stays where it was
            drop->accept();
            return true;
        }
        const QString path = firstDroppedFile(drop->mimeData());
        if (path.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The further files of the drop are left out.
        zk::platform::setClipboardText(path);
        Commands->run("BoutImgAddClick", [this] { BoutImgAddClick(); });
        return true;
    }
    default:
        return false;
    }
}

void TForm1::BoutImageClick() {
    ToggleOverlayPanel(7, {}, [this] { BoutImgFermerClick(); });
    if (OpenPanel != 7 || !Panel7->isVisible())
        return; // it was open: now closed
    LoadCurrentList();
    ListImgClick();
}

void TForm1::Insreruneimage1Click() {
    BoutImageClick();
}

void TForm1::BoutImgFermerClick() {
    CloseOverlayPanels();
}

void TForm1::FermerEditeurImageClick() {
    BoutImgFermerClick();
}

void TForm1::RubriqueChange() {
    settings.CurrentList = Rubrique->currentIndex();
    CurrentItem = 0;
    LoadCurrentList();
    ListImgClick();
}

void TForm1::ListImgClick() {
    if (ListImg->count() == 0)
        return; // the preview keeps what it showed
    const int row = selectedRow(ListImg);
    if (row < 0) {
        CurrentItem = -1; // nothing selected: nothing to preview, delete or read
        return;
    }
    CurrentItem = row;
    SelectedAddress = ListImg->item(row)->text();
    zk::platform::PreviewPage page = imagePage(*this);
    if (page.write(zk::oneImagePage(SelectedAddress.toStdString())))
        page.show();
}

void TForm1::ListImgDblClick() {
    if (SelectedAddress.isEmpty())
        return;
    InsertAtCaret(QString::fromStdString(zk::imageTagFor(SelectedAddress.toStdString())),
                  QString());
}

void TForm1::BoutImgInserClick() {
    ListImgDblClick();
}

void TForm1::InsererTexteClick() {
    ListImgDblClick();
}

void TForm1::BoutImgAddClick() {
    if (!hasList(*this) || CurrentListRefused) {
        zk::platform::beep(); // no list to add to, or one whose file is left alone
        return;
    }
    // A text of several lines gives one entry per line, as the file reads them back.
    const std::vector<std::string> added =
        zk::entriesOfText(zk::platform::clipboardText().toStdString());
    if (added.empty()) {
        SelectedAddress.clear(); // nothing to insert either
        zk::platform::beep();
        return;
    }
    const int position = zk::addPosition(CurrentItem, ListImg->count());
    const auto at = ListEntries.begin() + position;
    ListEntries.insert(at, added.begin(), added.end());
    // A list grown past what a list file may hold could not be opened again: the beep.
    const bool fits = zk::fitsListFile(ListEntries);
    if (!fits || !SaveCurrentList()) {
        // The list stays as its file still holds it.
        const auto first = ListEntries.begin() + position;
        ListEntries.erase(first, first + static_cast<std::ptrdiff_t>(added.size()));
        if (!fits)
            zk::platform::beep();
        return;
    }
    zk::ui::insertEntries(ListImg, position, added);
    CurrentItem = position;
    selectRow(ListImg, position);
    ListImg->setFocus();
    ListImgClick();
}

void TForm1::CollerListeClick() {
    BoutImgAddClick();
}

void TForm1::BoutImgSuppClick() {
    const int count = ListImg->count();
    if (CurrentItem < 0 || CurrentItem >= count || !hasList(*this))
        return; // no entry selected
    const auto at = ListEntries.begin() + CurrentItem;
    std::string removed = std::move(*at);
    ListEntries.erase(at);
    if (!SaveCurrentList()) {
        ListEntries.insert(ListEntries.begin() + CurrentItem, std::move(removed));
        return; // the list stays as its file still holds it
    }
    zk::ui::removeEntry(ListImg, CurrentItem);
    CurrentItem = zk::selectionAfterDelete(CurrentItem, count - 1);
    if (count > 1)
        selectRow(ListImg, CurrentItem);
    ListImg->setFocus();
    ListImgClick();
}

void TForm1::CopierListeClick() {
    zk::platform::setClipboardText(SelectedAddress);
}

void TForm1::CouperListeClick() {
    zk::platform::setClipboardText(SelectedAddress);
    BoutImgSuppClick();
}

void TForm1::BoutVoirListClick() {
    if (ListImg->count() == 0) {
        zk::platform::beep();
        return;
    }
    if (!imagePage(*this).write(zk::wholeListPage(ListEntries)))
        return;
    if (settings.PreviewInNewWindow == 0)
        zk::platform::openDocument(ImagePagePath());
    else if (settings.PreviewInNewWindow == 1)
        LaunchDocument(ImagePagePath(), QStringLiteral("iexplore.exe"));
}

void TForm1::Voirtoutelaliste1Click() {
    BoutVoirListClick();
}

void TForm1::BoutCaptureClick() {
    // The window goes on while the browser answers; a press meanwhile is ignored.
    BrowserCapture->start(zk::platform::browserDebuggingPort(), zk::platform::kBrowserTimeoutMs);
}

void TForm1::CapturerlurlCourante1Click() {
    BoutCaptureClick();
}
