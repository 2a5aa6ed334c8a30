#include "image_list_panel.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineView>

#include <algorithm>
#include <iterator>
#include <utility>

#include "browser_capture.h"
#include "clipboard.h"
#include "data_path.h"
#include "entry_rows.h"
#include "image_list.h"
#include "preview_page.h"
#include "settings_file.h"
#include "shell.h"
#include "sounds.h"
#include "widget_kit.h"
#include "window_host.h"

namespace zk::ui {

namespace {

using platform::makeLabel;
using platform::makeOverlay;
using platform::makePushButton;

using Row = zk::platform::Command<ImageListPanel>;

// Columns: name, caption, hint, icon, shortcut, checkable, handler.
const Row kCommands[] = {
    // Placed by the window: the side toolbar's button and the editors' menu item.
    {"BoutImage", nullptr, "Menu images - Ctrl+I", "image", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImageClick)},
    {"Insreruneimage1", "Menu &Images", nullptr, nullptr, "Ctrl+I", false,
     ZK_HANDLER(ImageListPanel, Insreruneimage1Click)},
    // The panel's buttons.
    {"BoutImgNouv", nullptr, "Créer une nouvelle liste", "liste-nouv", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImgNouvClick)},
    {"BoutImgEff", nullptr, "Suppimer la liste", "liste-eff", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImgEffClick)},
    {"BoutImgRen", nullptr, "Renommer la liste", "liste-ren", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImgRenClick)},
    {"BoutVoirList", nullptr, "Voir toutes les images de la liste", "liste-voir", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutVoirListClick)},
    {"BoutCapture", nullptr, "Capturer l'URL du navigateur", "capture", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutCaptureClick)},
    {"BoutImgAdd", nullptr, "Ajouter une URL dans la liste", "url-add", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImgAddClick)},
    {"BoutImgSupp", nullptr, "Supprimer l'URL de la liste", "url-supp", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImgSuppClick)},
    {"BoutImgInser", nullptr, "Insérer l'URL dans le texte", "url-inser", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImgInserClick)},
    {"BoutImgFermer", nullptr, "Fermer le menu images", "fermer", nullptr, false,
     ZK_HANDLER(ImageListPanel, BoutImgFermerClick)},
    // The list's context menu Popup8.
    {"CouperListe", "&Couper", nullptr, nullptr, "Shift+Del", false,
     ZK_HANDLER(ImageListPanel, CouperListeClick)},
    {"CopierListe", "Co&pier", nullptr, nullptr, "Ctrl+Ins", false,
     ZK_HANDLER(ImageListPanel, CopierListeClick)},
    {"CollerListe", "Co&ller", nullptr, nullptr, "Shift+Ins", false,
     ZK_HANDLER(ImageListPanel, CollerListeClick)},
    {"Voirtoutelaliste1", "&Voir toute la Liste", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(ImageListPanel, Voirtoutelaliste1Click)},
    {"CapturerlurlCourante1", "C&apturer l'URL Courante", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(ImageListPanel, CapturerlurlCourante1Click)},
    {"InsererTexte", "Insérer l'&URL dans le Texte", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(ImageListPanel, InsererTexteClick)},
    {"FermerEditeurImage", "&Fermer", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(ImageListPanel, FermerEditeurImageClick)},
};

// Passes the drag and drop events of the list box to the panel's drop handler.
class ListDropHook final : public QObject {
public:
    explicit ListDropHook(ImageListPanel* panel) : QObject(panel), panel_(panel) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return panel_->TraiteDrag(watched, event) || QObject::eventFilter(watched, event);
    }

private:
    ImageListPanel* panel_ = nullptr;
};

std::string toPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A list file past the size a list can have.
const QString kCannotOpen = QStringLiteral("\r\n\r\nImpossible d'ouvrir ce fichier");

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

// The panel's layout (512 x 180): the list names and the list commands in a row at the
// top left, the entries below them with their column of commands on the right, and the
// preview taking the right side whole.
constexpr QRect kRubriqueRect(0, 0, 192, 24);
constexpr QRect kListImgRect(0, 32, 240, 148);
constexpr QRect kWebB2Rect(272, 0, 240, 180);
constexpr int kButtonSize = 24;
constexpr int kListRowLeft = 196;     // right of Rubrique
constexpr int kEntryColumnLeft = 244; // centred between ListImg and WebB2

// Where the list-name prompt shows.
constexpr QPoint kPromptPlace(164, 144);

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

const zk::platform::Command<ImageListPanel>& ImageListPanel::CommandRow(const char* name) {
    return zk::platform::commandRow(kCommands, name);
}

ImageListPanel::ImageListPanel(zk::platform::WindowHost& host, zk::AppSettings& settings,
                               QWidget* parent, const QString& appFolder)
    : QObject(parent), host_(host), settings_(settings), appFolder_(appFolder) {
    buildMenu(parent);
    buildImagePanel(parent);
    buildListNamePrompt(parent);
    wireControls();
}

// ---- Construction ----

void ImageListPanel::buildMenu(QWidget* parent) {
    zk::platform::CommandBuilder& commands = host_.commands();
    Popup8 = new QMenu(parent);
    Popup8->setObjectName(QStringLiteral("Popup8"));
    CouperListe = commands.item(Popup8, this, CommandRow("CouperListe"));
    CopierListe = commands.item(Popup8, this, CommandRow("CopierListe"));
    CollerListe = commands.item(Popup8, this, CommandRow("CollerListe"));
    commands.separator(Popup8, "InsrerdansleTexte1");
    Voirtoutelaliste1 = commands.item(Popup8, this, CommandRow("Voirtoutelaliste1"));
    CapturerlurlCourante1 = commands.item(Popup8, this, CommandRow("CapturerlurlCourante1"));
    commands.separator(Popup8, "N1");
    InsererTexte = commands.item(Popup8, this, CommandRow("InsererTexte"));
    FermerEditeurImage = commands.item(Popup8, this, CommandRow("FermerEditeurImage"));
}

void ImageListPanel::buildImagePanel(QWidget* parent) {
    Panel7 = makeOverlay(parent, "Panel7", 512, 180);
    Rubrique = new QComboBox(Panel7);
    Rubrique->setObjectName(QStringLiteral("Rubrique"));
    ListImg = new QListWidget(Panel7);
    ListImg->setObjectName(QStringLiteral("ListImg"));
    ListImg->setAcceptDrops(true);
    zk::platform::CommandBuilder& commands = host_.commands();
    QToolButton** buttons[] = {&BoutImgNouv,  &BoutImgEff,   &BoutImgRen,
                               &BoutVoirList, &BoutCapture,  &BoutImgAdd,
                               &BoutImgSupp,  &BoutImgInser, &BoutImgFermer};
    const char* names[] = {"BoutImgNouv",  "BoutImgEff",   "BoutImgRen",
                           "BoutVoirList", "BoutCapture",  "BoutImgAdd",
                           "BoutImgSupp",  "BoutImgInser", "BoutImgFermer"};
    for (std::size_t i = 0; i < std::size(buttons); ++i)
        *buttons[i] = commands.button(Panel7, this, CommandRow(names[i]));
    setUpImagePanel();
}

void ImageListPanel::setUpImagePanel() {
    Rubrique->setGeometry(kRubriqueRect);
    ListImg->setGeometry(kListImgRect);
    int x = kListRowLeft;
    for (QToolButton* b : {BoutImgNouv, BoutImgEff, BoutImgRen}) {
        b->setGeometry(x, kRubriqueRect.top(), kButtonSize, kButtonSize);
        x += kButtonSize;
    }
    int y = kListImgRect.top();
    for (QToolButton* b :
         {BoutVoirList, BoutCapture, BoutImgAdd, BoutImgSupp, BoutImgInser, BoutImgFermer}) {
        b->setGeometry(kEntryColumnLeft, y, kButtonSize, kButtonSize);
        y += kButtonSize;
    }

    ListImg->setSelectionMode(QAbstractItemView::SingleSelection);
    ListImg->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    ListImg->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUpEntryRows(ListImg);
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
        host_.commands().run("ListImgClick", [this] { ListImgClick(); });
    });
}

void ImageListPanel::buildListNamePrompt(QWidget* parent) {
    Panel6 = makeOverlay(parent, "Panel6", 180, 146);
    LabMessListe = makeLabel(Panel6, "LabMessListe", QString(), 8, 8, 164, 44);
    LabMessListe->setWordWrap(true);
    LabMessListe->setAlignment(Qt::AlignCenter);
    EditMessListe = new QLineEdit(Panel6);
    EditMessListe->setObjectName(QStringLiteral("EditMessListe"));
    EditMessListe->setGeometry(8, 60, 164, 22);
    BoutMessAnnule =
        makePushButton(Panel6, "BoutMessAnnule", QStringLiteral("Annuler"), 8, 110, 76);
    BoutMessOK = makePushButton(Panel6, "BoutMessOK", QStringLiteral("Ok"), 96, 110, 76);
    // Return in the name presses "Ok".
    connect(EditMessListe, &QLineEdit::returnPressed, BoutMessOK, &QPushButton::click);
}

// What is not a row of the table: the lists, the prompt's buttons and the context menu.
void ImageListPanel::wireControls() {
    zk::platform::CommandBuilder& commands = host_.commands();
    commands.wire(Rubrique, &QComboBox::currentIndexChanged, this,
                  ZK_HANDLER(ImageListPanel, RubriqueChange));
    commands.wire(ListImg, &QListWidget::itemClicked, this,
                  ZK_HANDLER(ImageListPanel, ListImgClick));
    commands.wire(ListImg, &QListWidget::itemDoubleClicked, this,
                  ZK_HANDLER(ImageListPanel, ListImgDblClick));
    commands.wire(BoutMessAnnule, &QPushButton::clicked, this,
                  ZK_HANDLER(ImageListPanel, BoutMessAnnuleClick));
    commands.wire(BoutMessOK, &QPushButton::clicked, this,
                  ZK_HANDLER(ImageListPanel, BoutMessOKClick));
    // Its shortcuts work while the list has the focus.
    commands.attachContextMenu(ListImg, Popup8);
}

void ImageListPanel::ArmFileDrops() {
    ListImg->setAcceptDrops(true);
}

// ---- Paths and the list store ----

QString ImageListPanel::ListFolder() const {
    return zk::platform::dataPath(appFolder_, zk::data::kLists);
}

QString ImageListPanel::ImagePagePath() const {
    return zk::platform::dataPath(appFolder_, zk::data::kImagePage);
}

QWebEngineView* ImageListPanel::EnsureWebB2() {
    if (!WebB2)
        WebB2 = zk::platform::makeBrowserView(host_, Panel7, QStringLiteral("WebB2"), kWebB2Rect);
    return WebB2;
}

void ImageListPanel::ScanListFolder(const QString& folder) {
    zk::scanListFolder(toPath(folder), ListNames);
}

bool ImageListPanel::hasList() const {
    return settings_.CurrentList >= 0 && settings_.CurrentList < Rubrique->count();
}

// The index of the current list among the items of Rubrique: CurrentList when it names
// one, else the first list; -1 when there is none.
int ImageListPanel::currentListIndex() const {
    return zk::validListIndex(settings_.CurrentList, static_cast<std::size_t>(Rubrique->count()));
}

void ImageListPanel::showWriteError() {
    host_.ShowError(QStringLiteral("\r\nERREUR en écriture"));
}

void ImageListPanel::LoadCurrentList() {
    const QSignalBlocker blockEntries(ListImg);
    const QSignalBlocker blockNames(Rubrique);
    Rubrique->clear();
    QStringList names;
    for (const std::string& name : ListNames) {
        if (!name.empty())
            names.append(QString::fromStdString(name));
    }
    Rubrique->addItems(names);
    ListEntries.clear();
    CurrentListRefused = false;
    if (names.isEmpty()) {
        showEntries(ListImg, ListEntries);
        return;
    }

    // A saved index outside the lists found chooses the first list.
    settings_.CurrentList = zk::validListIndex(settings_.CurrentList, names.size());
    const std::string path =
        zk::listFilePath(toPath(ListFolder()), names[settings_.CurrentList].toStdString());
    zk::ListFileContent content = zk::readListFile(path);
    // A file that is there but cannot be read shows no entries, and is never written over.
    CurrentListRefused = content.status == zk::ListFileRead::TooBig ||
                         content.status == zk::ListFileRead::Unreadable;
    ListEntries = std::move(content.entries);
    showEntries(ListImg, ListEntries);

    Rubrique->setCurrentIndex(settings_.CurrentList);
    ListImg->setFocus();
    if (CurrentItem >= 0 && CurrentItem < ListImg->count()) {
        ListImg->setCurrentRow(CurrentItem);
    } else {
        ListImg->setCurrentRow(-1);
        ListImg->clearSelection();
    }
    if (content.status == zk::ListFileRead::TooBig)
        host_.ShowError(kCannotOpen);
}

bool ImageListPanel::SaveCurrentList() {
    const int current = settings_.CurrentList;
    if (current < 0 || current >= Rubrique->count() || CurrentListRefused)
        return false;
    const std::string path =
        zk::listFilePath(toPath(ListFolder()), Rubrique->itemText(current).toStdString());
    // A write that failed on the way leaves the previous file whole.
    return zk::platform::reportWrite(host_, zk::writeListFile(path, ListEntries));
}

// ---- Drops ----

bool ImageListPanel::TraiteDrag(QObject* watched, QEvent* event) {
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
        host_.commands().run("BoutImgAddClick", [this] { BoutImgAddClick(); });
        return true;
    }
    default:
        return false;
    }
}

// ---- The panel ----

void ImageListPanel::BoutImageClick() {
    bool opened = false;
    host_.ToggleOverlayPanel(
        kPanelNumber, [&opened] { opened = true; }, [this] { BoutImgFermerClick(); });
    if (!opened)
        return; // it was open: now closed
    LoadCurrentList();
    ListImgClick();
}

void ImageListPanel::Insreruneimage1Click() {
    BoutImageClick();
}

void ImageListPanel::BoutImgFermerClick() {
    host_.CloseOverlayPanels();
}

void ImageListPanel::FermerEditeurImageClick() {
    BoutImgFermerClick();
}

void ImageListPanel::RubriqueChange() {
    settings_.CurrentList = Rubrique->currentIndex();
    CurrentItem = 0;
    LoadCurrentList();
    ListImgClick();
}

void ImageListPanel::ListImgClick() {
    if (ListImg->count() == 0)
        return; // the preview keeps what it showed
    const int row = selectedRow(ListImg);
    if (row < 0) {
        CurrentItem = -1; // nothing selected: nothing to preview, delete or read
        return;
    }
    CurrentItem = row;
    SelectedAddress = ListImg->item(row)->text();
    zk::platform::PreviewPage page(host_, ImagePagePath(), [this] { return EnsureWebB2(); });
    if (page.write(zk::oneImagePage(SelectedAddress.toStdString())))
        page.show();
}

void ImageListPanel::ListImgDblClick() {
    if (SelectedAddress.isEmpty())
        return;
    host_.InsertAtCaret(QString::fromStdString(zk::imageTagFor(SelectedAddress.toStdString())),
                        QString());
}

void ImageListPanel::BoutImgInserClick() {
    ListImgDblClick();
}

void ImageListPanel::InsererTexteClick() {
    ListImgDblClick();
}

void ImageListPanel::BoutImgAddClick() {
    if (!hasList() || CurrentListRefused) {
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
    insertEntries(ListImg, position, added);
    CurrentItem = position;
    selectRow(ListImg, position);
    ListImg->setFocus();
    ListImgClick();
}

void ImageListPanel::CollerListeClick() {
    BoutImgAddClick();
}

void ImageListPanel::BoutImgSuppClick() {
    const int count = ListImg->count();
    if (CurrentItem < 0 || CurrentItem >= count || !hasList())
        return; // no entry selected
    const auto at = ListEntries.begin() + CurrentItem;
    std::string removed = std::move(*at);
    ListEntries.erase(at);
    if (!SaveCurrentList()) {
        ListEntries.insert(ListEntries.begin() + CurrentItem, std::move(removed));
        return; // the list stays as its file still holds it
    }
    removeEntry(ListImg, CurrentItem);
    CurrentItem = zk::selectionAfterDelete(CurrentItem, count - 1);
    if (count > 1)
        selectRow(ListImg, CurrentItem);
    ListImg->setFocus();
    ListImgClick();
}

void ImageListPanel::CopierListeClick() {
    zk::platform::setClipboardText(SelectedAddress);
}

void ImageListPanel::CouperListeClick() {
    zk::platform::setClipboardText(SelectedAddress);
    BoutImgSuppClick();
}

void ImageListPanel::BoutVoirListClick() {
    if (ListImg->count() == 0) {
        zk::platform::beep();
        return;
    }
    zk::platform::PreviewPage page(host_, ImagePagePath(), [this] { return EnsureWebB2(); });
    if (!page.write(zk::wholeListPage(ListEntries)))
        return;
    if (settings_.PreviewInNewWindow == 0)
        zk::platform::openDocument(ImagePagePath());
    else if (settings_.PreviewInNewWindow == 1)
        host_.LaunchDocument(ImagePagePath(), QStringLiteral("iexplore.exe"));
}

void ImageListPanel::Voirtoutelaliste1Click() {
    BoutVoirListClick();
}

void ImageListPanel::BoutCaptureClick() {
    // The window goes on while the browser answers; a press meanwhile is ignored.
    BrowserCapture->start(zk::platform::browserDebuggingPort(), zk::platform::kBrowserTimeoutMs);
}

void ImageListPanel::CapturerlurlCourante1Click() {
    BoutCaptureClick();
}

// ---- The list-name prompt ----

void ImageListPanel::showListPrompt(const QString& label, std::uint8_t mode) {
    LabMessListe->setText(label);
    ListPromptMode = mode;
    Panel6->move(kPromptPlace);
    Panel6->raise();
    emit listPromptRaised();
    Panel6->show();
    EditMessListe->setFocus();
}

void ImageListPanel::hideListPrompt() {
    Panel6->hide();
    Panel6->move(zk::platform::kParkLeft, zk::platform::kParkTop);
}

// The end of every prompt command that did not stop: the table from Rubrique, the prompt
// closed, the current list chosen again.
void ImageListPanel::closeListPrompt() {
    for (std::string& slot : ListNames)
        slot.clear();
    const int count = std::min(Rubrique->count(), static_cast<int>(zk::kListSlots));
    for (int i = 0; i < count; ++i)
        ListNames[static_cast<std::size_t>(i)] = Rubrique->itemText(i).toStdString();
    hideListPrompt();
    {
        const QSignalBlocker block(Rubrique);
        Rubrique->setCurrentIndex(settings_.CurrentList);
    }
    ListPromptMode = 0;
    RubriqueChange();
}

// Mode 1. Returns false when the prompt stays open.
bool ImageListPanel::createList(const QString& name) {
    const int existing = Rubrique->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (existing >= 0) {
        // Already a list: it becomes the current one, its file untouched.
        settings_.CurrentList = existing;
        return true;
    }
    if (Rubrique->count() >= static_cast<int>(zk::kListSlots)) {
        showWriteError(); // the table is full
        return false;
    }
    const zk::ListFileResult made = zk::createListFile(toPath(ListFolder()), name.toStdString());
    // A file left by another run or put there by hand is taken as the list, never emptied.
    if (!made.ok() && made.status != zk::ListFileStatus::AlreadyExists) {
        showWriteError();
        return false;
    }
    {
        // The first item of an empty box would announce a change of list, and the load it
        // runs would rebuild the names from the table, which does not hold this one yet.
        const QSignalBlocker block(Rubrique);
        Rubrique->addItem(name);
    }
    settings_.CurrentList = Rubrique->count() - 1;
    return true;
}

// Mode 2.
bool ImageListPanel::renameList(const QString& name) {
    const int current = currentListIndex();
    if (current < 0)
        return true;
    const QString oldName = Rubrique->itemText(current);
    if (name == oldName)
        return true;
    if (Rubrique->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
        showWriteError(); // another list has that name
        return false;
    }
    const zk::ListFileResult renamed =
        zk::renameListFile(toPath(ListFolder()), oldName.toStdString(), name.toStdString());
    if (!renamed.ok()) {
        showWriteError();
        return false;
    }
    Rubrique->setItemText(current, name);
    settings_.CurrentList = current;
    return true;
}

// Mode 3.
bool ImageListPanel::deleteList() {
    const int current = currentListIndex();
    if (current < 0)
        return true;
    const zk::ListFileResult moved =
        zk::moveListToBackup(toPath(ListFolder()), Rubrique->itemText(current).toStdString());
    if (!moved.ok()) {
        showWriteError();
        return false;
    }
    {
        const QSignalBlocker block(Rubrique);
        Rubrique->removeItem(current);
        settings_.CurrentList = 0;
        Rubrique->setCurrentIndex(0);
    }
    EditMessListe->clear();
    return true;
}

void ImageListPanel::BoutImgNouvClick() {
    showListPrompt(QStringLiteral("Nouvelle Liste"), 1);
}

// The prompt over the current list's name; a beep when there is no list.
void ImageListPanel::promptOnCurrentList(const QString& label, std::uint8_t mode) {
    const int current = currentListIndex();
    if (current < 0) {
        zk::platform::beep();
        return;
    }
    EditMessListe->setText(Rubrique->itemText(current));
    showListPrompt(label, mode);
}

void ImageListPanel::BoutImgRenClick() {
    promptOnCurrentList(QStringLiteral("Renommer la Liste"), 2);
}

void ImageListPanel::BoutImgEffClick() {
    promptOnCurrentList(QStringLiteral("Supprimer la Liste"), 3);
}

void ImageListPanel::BoutMessAnnuleClick() {
    hideListPrompt();
    ListPromptMode = 0;
}

void ImageListPanel::BoutMessOKClick() {
    const QString name = EditMessListe->text();
    switch (ListPromptMode) {
    case 1:
        if (!name.isEmpty() && !createList(name))
            return;
        break;
    case 2:
        if (!name.isEmpty() && !renameList(name))
            return;
        break;
    case 3:
        if (name.isEmpty()) {
            zk::platform::informationSound();
            return;
        }
        if (!deleteList())
            return;
        break;
    default:
        break;
    }
    closeListPrompt();
}

} // namespace zk::ui
