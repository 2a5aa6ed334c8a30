// Help page, and starting the web browser on a document.
#include "main_window.h"

#include <QFileInfo>

#include "data_path.h"
#include "shell.h"

QString TForm1::HelpPagePath() const {
    return zk::platform::dataPath(AppFolder, zk::data::kHelpPage);
}

void TForm1::LaunchDocument(const QString& path, const QString& program) {
    // Every caller names the web browser; the user's browser stands in for it. No failure
    // is reported: the command then simply has no visible effect.
    Q_UNUSED(program);
    zk::platform::launchInBrowser(path);
}

void TForm1::BoutHelpClick() {
    const QString page = HelpPagePath();
    if (QFileInfo(page).isFile())
        LaunchDocument(page, QStringLiteral("iexplore.exe"));
    else
        ShowError(QStringLiteral("\r\nLe fichier d'aide est introuvable !"));
}

void TForm1::AideF11Click() {
    BoutHelpClick();
}
