// Commands of the text tools, the text files, the image lists, the presets and the status
// bar. Until their subsystems bring them, they do the editor's plain operation or nothing;
// each group moves to its subsystem's ui folder when that lands.
#include "main_window.h"

#include <QLabel>
#include <QPlainTextEdit>

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


