// The image list panel Panel7 with its list-name prompt Panel6: choosing a list, previewing
// its entries in WebB2, adding and deleting entries, inserting an image tag, the whole list
// in the web browser, files dropped from the desktop, the capture of the browser's address,
// and creating, renaming and deleting lists. It talks to the window through its host.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "commands.h"
#include "list_store.h"

class QAction;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;
class QWebEngineView;
class QWidget;

namespace zk {
struct AppSettings;
}
namespace zk::platform {
class BrowserWindowInfoRequest;
class WindowHost;
} // namespace zk::platform

namespace zk::ui {

class ImageListPanel final : public QObject {
    Q_OBJECT

public:
    // The overlay panel number of Panel7 among the window's panels.
    static constexpr int kPanelNumber = 7;

    // parent: the window, parent of the two panels and of the menu Popup8; settings: the
    // window's (the current list, the choice of browser); appFolder ends with "/".
    ImageListPanel(zk::platform::WindowHost& host, zk::AppSettings& settings, QWidget* parent,
                   const QString& appFolder);

    // The row of the panel's table named name: the window places BoutImage and
    // Insreruneimage1 from it.
    static const zk::platform::Command<ImageListPanel>& CommandRow(const char* name);

    // ---- Widgets ----
    QWidget* Panel7 = nullptr; // the panel
    QComboBox* Rubrique = nullptr;
    QListWidget* ListImg = nullptr;
    QWebEngineView* WebB2 = nullptr; // made when first needed: EnsureWebB2
    QToolButton* BoutImgNouv = nullptr;
    QToolButton* BoutImgEff = nullptr;
    QToolButton* BoutImgRen = nullptr;
    QToolButton* BoutVoirList = nullptr;
    QToolButton* BoutCapture = nullptr;
    QToolButton* BoutImgAdd = nullptr;
    QToolButton* BoutImgSupp = nullptr;
    QToolButton* BoutImgInser = nullptr;
    QToolButton* BoutImgFermer = nullptr;

    QWidget* Panel6 = nullptr; // list-name prompt
    QLabel* LabMessListe = nullptr;
    QLineEdit* EditMessListe = nullptr;
    QPushButton* BoutMessAnnule = nullptr;
    QPushButton* BoutMessOK = nullptr;

    QMenu* Popup8 = nullptr; // context menu of ListImg
    QAction* CouperListe = nullptr;
    QAction* CopierListe = nullptr;
    QAction* CollerListe = nullptr;
    QAction* Voirtoutelaliste1 = nullptr;
    QAction* CapturerlurlCourante1 = nullptr;
    QAction* InsererTexte = nullptr;
    QAction* FermerEditeurImage = nullptr;

    // ---- State ----
    zk::ListNameTable ListNames;          // the list names as the folder scan found them
    std::int32_t CurrentItem = 0;         // the selected entry of the current list
    std::vector<std::string> ListEntries; // the entries of ListImg, as its file holds them
    bool CurrentListRefused = false;      // its file could not be read: it is not changed
    QString SelectedAddress;         // the selected entry, the added text or the captured reply
    std::uint8_t ListPromptMode = 0; // list-name prompt: 0 closed, 1 new, 2 rename, 3 delete
    // The capture of the browser's address; its reply arrives on the event loop.
    zk::platform::BrowserWindowInfoRequest* BrowserCapture = nullptr;

    QString ListFolder() const;    // AppFolder + "Data/Listes"
    QString ImagePagePath() const; // AppFolder + "Data/Temp/Image.html"
    void ScanListFolder(const QString& folder);
    // Rubrique from ListNames, ListImg from the current list's file, then the selections.
    void LoadCurrentList();
    // Writes the entries of ListImg (ListEntries) to the current list's file; false, with
    // the message shown, when it failed.
    bool SaveCurrentList();
    // Drops on ListImg: the first file dropped from the desktop is added to the list; an
    // entry dragged within the list is accepted over it and dropping it changes nothing.
    // Returns true when the event was handled here.
    bool TraiteDrag(QObject* watched, QEvent* event);
    // The list box takes files dropped from the desktop (start-up arms it).
    void ArmFileDrops();
    QWebEngineView* EnsureWebB2();

    // ---- Handlers ----
    void BoutImageClick();
    void Insreruneimage1Click();
    void BoutImgNouvClick();
    void BoutImgEffClick();
    void BoutImgRenClick();
    void BoutVoirListClick();
    void BoutCaptureClick();
    void BoutImgAddClick();
    void BoutImgSuppClick();
    void BoutImgInserClick();
    void BoutImgFermerClick();
    void RubriqueChange();
    void ListImgClick();
    void ListImgDblClick();
    void CouperListeClick();
    void CopierListeClick();
    void CollerListeClick();
    void Voirtoutelaliste1Click();
    void CapturerlurlCourante1Click();
    void InsererTexteClick();
    void FermerEditeurImageClick();
    void BoutMessAnnuleClick();
    void BoutMessOKClick();

signals:
    // The list-name prompt was raised above the panels; the error banner stays above it.
    void listPromptRaised();

private:
    void buildImagePanel(QWidget* parent);
    void buildListNamePrompt(QWidget* parent);
    void buildMenu(QWidget* parent);
    void wireControls();
    void setUpImagePanel();
    void showListPrompt(const QString& label, std::uint8_t mode);
    void promptOnCurrentList(const QString& label, std::uint8_t mode);
    void hideListPrompt();
    void closeListPrompt();
    int currentListIndex() const;
    bool hasList() const;
    bool createList(const QString& name);
    bool renameList(const QString& name);
    bool deleteList();
    void showWriteError();

    zk::platform::WindowHost& host_;
    zk::AppSettings& settings_;
    QString appFolder_;
};

} // namespace zk::ui
