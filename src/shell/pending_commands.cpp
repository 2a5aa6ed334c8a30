// Commands of the text tools, the text files, the image lists, the presets and the status
// bar. Until their subsystems bring them, they do the editor's plain operation or nothing;
// each group moves to its subsystem's ui folder when that lands.
#include "main_window.h"

#include <QLabel>
#include <QPlainTextEdit>

// ---- Text files and edit commands ----
QPlainTextEdit* TForm1::EditTarget() const {
    return OpenPanel == 8 ? Memo2 : Memo1;
}
void TForm1::BoutNouveauClick() {
    Memo1->clear();
}
void TForm1::BoutOuvrirClick() {}
void TForm1::BoutSauverClick() {}
void TForm1::BoutCouperClick() {
    EditTarget()->cut();
}
void TForm1::BoutCopierClick() {
    EditTarget()->copy();
}
void TForm1::BoutCollerClick() {
    EditTarget()->paste();
}
void TForm1::BoutUndoClick() {
    EditTarget()->undo();
}
void TForm1::Couper1Click() {
    BoutCouperClick();
}
void TForm1::Copier1Click() {
    BoutCopierClick();
}
void TForm1::Coller1Click() {
    BoutCollerClick();
}
void TForm1::Annuler1Click() {
    BoutUndoClick();
}
void TForm1::ToutSelectionner1Click() {
    EditTarget()->selectAll();
}
void TForm1::OpenFileByPath(const QString& path) {
    Q_UNUSED(path);
}

// ---- Text effects and insertions ----
void TForm1::C2Click() {}
void TForm1::C3Click() {}
void TForm1::C4Click() {}
void TForm1::C5Click() {}
void TForm1::C6Click() {}
void TForm1::C7Click() {}
void TForm1::C8Click() {}
void TForm1::C9Click() {}
void TForm1::C10Click() {}
void TForm1::C11Click() {}
void TForm1::C12Click() {}
void TForm1::C13Click() {}
void TForm1::BoutSoundClick() {}
void TForm1::BoutLienClick() {}
void TForm1::CrerunLien1Click() {
    BoutLienClick();
}
void TForm1::BoutCaracClick() {
    ToggleOverlayPanel(3, {}, [this] { BoutCharOkClick(); });
}
void TForm1::BoutCharOkClick() {
    CloseOverlayPanels();
}
void TForm1::CharClick(QLabel* cell) {
    Q_UNUSED(cell);
}
void TForm1::CharLoopMouseMove(QLabel* cell) {
    Q_UNUSED(cell);
}

// ---- Image lists ----
void TForm1::BoutImageClick() {
    ToggleOverlayPanel(7, {}, [this] { BoutImgFermerClick(); });
}
void TForm1::Insreruneimage1Click() {
    BoutImageClick();
}
void TForm1::BoutImgNouvClick() {}
void TForm1::BoutImgEffClick() {}
void TForm1::BoutImgRenClick() {}
void TForm1::BoutVoirListClick() {}
void TForm1::BoutCaptureClick() {}
void TForm1::BoutImgAddClick() {}
void TForm1::BoutImgSuppClick() {}
void TForm1::BoutImgInserClick() {}
void TForm1::BoutImgFermerClick() {
    CloseOverlayPanels();
}
void TForm1::RubriqueChange() {}
void TForm1::ListImgClick() {}
void TForm1::ListImgDblClick() {}
void TForm1::CouperListeClick() {}
void TForm1::CopierListeClick() {}
void TForm1::CollerListeClick() {}
void TForm1::Voirtoutelaliste1Click() {
    BoutVoirListClick();
}
void TForm1::CapturerlurlCourante1Click() {
    BoutCaptureClick();
}
void TForm1::InsererTexteClick() {
    ListImgDblClick();
}
void TForm1::FermerEditeurImageClick() {
    BoutImgFermerClick();
}
void TForm1::BoutMessAnnuleClick() {}
void TForm1::BoutMessOKClick() {}
void TForm1::ScanListFolder(const QString& folder) {
    Q_UNUSED(folder);
}

// ---- Presets ----
void TForm1::P1Click(QAction* sender) {
    Q_UNUSED(sender);
}
void TForm1::SauvegarderPClick() {}

