// The "Signature" tab: its fields, the signature colour (which acts at once) and the preview
// of the block built from the fields not yet confirmed.
#include "preferences_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWebEngineView>

#include "code_generator.h"
#include "colors.h"
#include "data_path.h"
#include "dialogs.h"
#include "icons.h"
#include "preview_page.h"
#include "radio_group.h"
#include "settings_file.h"
#include "window_host.h"

namespace zk::ui {

namespace {

QLineEdit* makeEdit(QWidget* tab, const char* name, int x, int y, int w) {
    auto* e = new QLineEdit(tab);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(x, y, w, 22);
    return e;
}

QLabel* makeCaption(QWidget* tab, const char* name, const QString& text, int x, int y, int w) {
    auto* l = new QLabel(text, tab);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, w, 16);
    return l;
}

} // namespace

void PreferencesPanel::BuildSignatureTab() {
    QWidget* tab = TabSheet2;
    Lab1 = makeCaption(tab, "Lab1", QStringLiteral("Signature                     Couleur Taille"),
                       8, 4, 260);
    EditTextSign = makeEdit(tab, "EditTextSign", 8, 22, 160);
    BoutTexteSignCoul = new QToolButton(tab);
    BoutTexteSignCoul->setObjectName(QStringLiteral("BoutTexteSignCoul"));
    BoutTexteSignCoul->setGeometry(172, 21, 24, 24);
    BoutTexteSignCoul->setIcon(zk::platform::toolbarIcon(QStringLiteral("couleur")));
    CombTaille = new QComboBox(tab);
    CombTaille->setObjectName(QStringLiteral("CombTaille"));
    CombTaille->setGeometry(200, 22, 60, 22);
    for (int i = 1; i <= 7; ++i)
        CombTaille->addItem(QStringLiteral("H%1").arg(i));

    Label1 = makeCaption(tab, "Label1", QStringLiteral("URL de l'image        Lien sur l'image"), 8,
                         50, 260);
    EditImgSign = makeEdit(tab, "EditImgSign", 8, 68, 124);
    EditLinkImgSign = makeEdit(tab, "EditLinkImgSign", 136, 68, 124);

    CheckTxtImg = new RadioGroup(
        QString(), {QStringLiteral("  Texte  -  Image"), QStringLiteral("  Image -  Texte")}, tab);
    CheckTxtImg->setObjectName(QStringLiteral("CheckTxtImg"));
    CheckTxtImg->setGeometry(8, 94, 160, 50);
    BoutApercuSign = new QToolButton(tab);
    BoutApercuSign->setObjectName(QStringLiteral("BoutApercuSign"));
    BoutApercuSign->setGeometry(200, 104, 32, 32);
    BoutApercuSign->setIconSize(QSize(24, 24));
    BoutApercuSign->setIcon(zk::platform::toolbarIcon(QStringLiteral("apercu")));
    BoutApercuSign->setAccessibleName(QStringLiteral("Aperçu"));
}

QWebEngineView* PreferencesPanel::EnsureWebB3() {
    if (!WebB3)
        WebB3 = zk::platform::makeBrowserView(host_, TabSheet2, QStringLiteral("WebB3"),
                                              QRect(280, 4, 220, 110));
    return WebB3;
}

void PreferencesPanel::PreviewSignature() {
    const std::string text =
        zk::SignatureTextPart(EditTextSign->text().toStdString(), CombTaille->currentIndex(),
                              settings_.fmt.FontFace, settings_.fmt.SignatureColor);
    const std::string image = zk::SignatureImagePart(EditImgSign->text().toStdString(),
                                                     EditLinkImgSign->text().toStdString());
    const std::string block =
        CheckTxtImg->itemIndex() == 0 ? text + "&nbsp" + image : image + "&nbsp" + text;
    // The signature's page is the preview page, shown in its own view.
    zk::platform::PreviewPage(host_, zk::platform::dataPath(appFolder_, zk::data::kPreviewPage),
                              [this] { return EnsureWebB3(); })
        .showFragment(block);
}

void PreferencesPanel::BoutApercuSignClick() {
    PreviewSignature();
}

void PreferencesPanel::BoutTexteSignCoulClick() {
    const auto chosen = zk::platform::dialogs().chooseColor(host_.hostWindow(),
                                                            toQColor(settings_.fmt.SignatureColor));
    if (chosen)
        settings_.fmt.SignatureColor = fromQColor(*chosen);
}

} // namespace zk::ui
