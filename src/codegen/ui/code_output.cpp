#include "code_output.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <QTimer>
#include <QWebEngineView>

#include <memory>
#include <utility>

#include "atomic_file.h"
#include "clipboard.h"
#include "data_path.h"
#include "dialogs.h"
#include "editor_text.h"
#include "html_view.h"
#include "live_preview.h"
#include "options_file.h"
#include "page_picture.h"
#include "plain_memo.h"
#include "preview_page.h"
#include "settings_file.h"
#include "shell.h"
#include "sounds.h"
#include "text.h"
#include "text_files.h"
#include "widget_kit.h"
#include "window_host.h"

namespace zk::ui {

namespace {
// Where the browser pane and the code view sit in the window.
const QRect kPaneGeometry(0, 216, 512, 180);

const zk::platform::Command<CodeOutput> kCommands[] = {
    {"BoutNavIntegre", nullptr, "Aperçu - F12", "apercu", nullptr, false,
     ZK_HANDLER(CodeOutput, BoutNavIntegreClick)},
    {"BoutClipBoard", nullptr, "Copier dans le presse-papier", "clipboard", nullptr, false,
     ZK_HANDLER(CodeOutput, BoutClipBoardClick)},
    {"BoutCode", nullptr, "Afficher / Cacher le code HTML", "code", nullptr, false,
     ZK_HANDLER(CodeOutput, BoutCodeClick)},
    {"AperudansleNavigateurIntgr1", "Ap&erçu", nullptr, nullptr, "F12", false,
     ZK_HANDLER(CodeOutput, AperudansleNavigateurIntgr1Click)},
    {"CopiercommeImage1", "Copier comme &image", "Copier l'aperçu comme image", "copieimage",
     nullptr, false, ZK_HANDLER(CodeOutput, CopiercommeImage1Click)},
    {"EnregistrercommeImage1", "&Enregistrer comme image...",
     "Enregistrer l'aperçu comme image PNG", nullptr, nullptr, false,
     ZK_HANDLER(CodeOutput, EnregistrercommeImage1Click)},
    // The toolbar's button of "Copier comme image": it runs the menu item's action.
    {"BoutCopieImage", nullptr, "Copier l'aperçu comme image", "copieimage", nullptr, false,
     nullptr, nullptr},
};
} // namespace

const zk::platform::Command<CodeOutput>& CodeOutput::CommandRow(const char* name) {
    return zk::platform::commandRow(kCommands, name);
}

CodeOutput::CodeOutput(zk::platform::WindowHost& host, const zk::AppSettings& settings,
                       const zk::NewOptions& options, QPlainTextEdit* editor, QWidget* window,
                       QString appFolder)
    : QObject(window), host_(host), settings_(settings), options_(options), editor_(editor),
      window_(window), appFolder_(std::move(appFolder)) {
    // The browser pane's engine starts once the window has been painted (EnsureWebB); a
    // blank area stands in for it until then, so the window shows without waiting.
    WebBHolder = new QFrame(window);
    WebBHolder->setObjectName(QStringLiteral("WebBHolder"));
    WebBHolder->setGeometry(kPaneGeometry);
    WebBHolder->setAutoFillBackground(true);
    WebBHolder->setBackgroundRole(QPalette::Base);

    Panel8 = zk::platform::makeOverlay(window, "Panel8", 512, 180);
    Memo2 = new PlainMemo(Panel8);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setGeometry(0, 0, 512, 180);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = Memo2->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 221));
    Memo2->setPalette(pal);

    PopupApercu = new QMenu(window);
    PopupApercu->setObjectName(QStringLiteral("PopupApercu"));
    zk::platform::CommandBuilder& commands = host_.commands();
    CopiercommeImage1 = commands.item(PopupApercu, this, CommandRow("CopiercommeImage1"));
    EnregistrercommeImage1 = commands.item(PopupApercu, this, CommandRow("EnregistrercommeImage1"));
    picture_ = new zk::platform::PagePicture(this);

    live_ = new LivePreview([this] { return LiveCode(); }, [this] { return LiveShown(); }, this);
    // The meter counts the code the copy would take: the live fragment is the HTML a browser
    // shows, which BBCode is not.
    connect(live_, &LivePreview::codeSized, this, [this](std::size_t characters) {
        if (GenerationOptions(false).format == zk::OutputFormat::BbCode)
            characters = zk::codePointCount(zk::GenerateCode(coreText(editor_), settings_.fmt,
                                                             GenerationOptions(CodeViewOpen())));
        emit codeSized(characters, settings_.fmt.CodeSizeLimit);
    });
}

QString CodeOutput::PreviewPagePath() const {
    return zk::platform::dataPath(appFolder_, zk::data::kPreviewPage);
}

std::optional<std::string> CodeOutput::Generate() {
    return Generate(CodeViewOpen());
}

bool CodeOutput::CodeViewOpen() const {
    return host_.OpenPanelNumber() == kCodeViewPanel;
}

zk::GeneratorOptions CodeOutput::GenerationOptions(bool keepLineBreaks) const {
    zk::GeneratorOptions generator = zk::generatorOptions(options_);
    generator.keepLineBreaks = keepLineBreaks;
    return generator;
}

zk::GeneratorOptions CodeOutput::RenderingOptions(bool keepLineBreaks) const {
    // A browser shows HTML: BBCode is shown as the HTML5 it stands for.
    zk::GeneratorOptions generator = GenerationOptions(keepLineBreaks);
    if (generator.format == zk::OutputFormat::BbCode)
        generator.format = zk::OutputFormat::Html5;
    return generator;
}

std::optional<std::string> CodeOutput::Generate(bool keepLineBreaks) {
    return Generate(GenerationOptions(keepLineBreaks));
}

std::optional<std::string> CodeOutput::Generate(const zk::GeneratorOptions& options) {
    // A command run while the window answers during a generation would start a second
    // one over the state and the code of the first: it is refused.
    if (generating_) {
        zk::platform::beep();
        return std::nullopt;
    }
    const QScopedValueRollback<bool> running(generating_, true);
    generatedCode_ = zk::GenerateCode(
        coreText(editor_), settings_.fmt, options, [] { QCoreApplication::processEvents(); },
        GenerationPacing);
    return generatedCode_;
}

std::optional<std::function<std::string()>> CodeOutput::LiveCode() {
    if (generating_)
        return std::nullopt;
    return [text = editor_->document()->toRawText(), state = settings_.fmt,
            options = RenderingOptions(CodeViewOpen())] {
        return zk::GenerateCode(coreText(text), state, options);
    };
}

bool CodeOutput::LiveShown() const {
    return options_.LivePreview == 1 && settings_.PreviewInProgram == 1 &&
           host_.OpenPanelNumber() == 0;
}

void CodeOutput::CodeChanged() {
    live_->changed();
}

std::optional<std::string> CodeOutput::PageToSave() {
    // A page is HTML whatever the format: with BBCode, the page the preview shows.
    const std::optional<std::string> code = Generate(RenderingOptions(CodeViewOpen()));
    if (!code)
        return std::nullopt;
    return zk::wrapHtmlForSave(*code);
}

zk::platform::PreviewPage CodeOutput::PreviewPane() {
    return {host_, PreviewPagePath(), [this] { return EnsureWebB(); }};
}

bool CodeOutput::WritePreviewPage() {
    return PreviewPane().writeFragment(generatedCode_);
}

QWebEngineView* CodeOutput::EnsureWebB() {
    if (!WebB) {
        WebB = zk::platform::makeBrowserView(host_, window_, QStringLiteral("WebB"), kPaneGeometry);
        WebB->lower(); // below the overlay panels
        host_.commands().attachContextMenu(WebB, PopupApercu);
        WebBHolder->hide();
        if (!pendingWebBPage_.isEmpty())
            zk::platform::showFile(WebB, std::exchange(pendingWebBPage_, QString()));
        live_->setView(WebB, QUrl::fromLocalFile(PreviewPagePath()));
    }
    return WebB;
}

void CodeOutput::ShowInBrowserPane(const QString& path) {
    // What the pane shows now stays until the code changes again.
    live_->hold();
    if (WebB)
        zk::platform::showFile(WebB, path);
    else if (browserPaneWanted_)
        zk::platform::showFile(EnsureWebB(), path);
    else
        pendingWebBPage_ = path; // shown as soon as the pane exists
}

void CodeOutput::WindowPainted() {
    if (!browserPaneWanted_) {
        browserPaneWanted_ = true;
        QTimer::singleShot(0, this, &CodeOutput::EnsureWebB);
    }
}

void CodeOutput::BoutNavIntegreClick() {
    if (!Generate(RenderingOptions(CodeViewOpen())))
        return;
    WritePreviewPage(); // on failure the preview goes on with what the file holds
    const QString page = PreviewPagePath();
    if (settings_.PreviewInProgram == 1) {
        live_->hold(); // the page shows the current code
        PreviewPane().show();
        host_.CloseOverlayPanels();
    } else if (settings_.PreviewInNewWindow == 0) {
        zk::platform::openDocument(page);
    } else if (settings_.PreviewInNewWindow == 1) {
        host_.LaunchDocument(page, QStringLiteral("iexplore.exe"));
    }
}

void CodeOutput::AperudansleNavigateurIntgr1Click() {
    BoutNavIntegreClick();
}

void CodeOutput::BoutClipBoardClick() {
    const bool keepLineBreaks = CodeViewOpen();
    const std::optional<std::string> code = Generate(keepLineBreaks);
    if (!code)
        return;
    const std::size_t length = zk::codePointCount(*code);
    const unsigned limit = settings_.fmt.CodeSizeLimit;
    if (limit != 0 && length > limit) {
        host_.ShowError(QStringLiteral("ATTENTION, %1 caractères !\r\n"
                                       "La taille du code HTML dépasse\r\n"
                                       "la limite que vous avez fixée à %2")
                            .arg(length)
                            .arg(limit));
    }
    // Beside the code, the formatted text for the editors that take it: the HTML a browser
    // shows, with its line breaks as tags even while the code view keeps them.
    std::optional<std::string> html;
    if (options_.CopyRichText == 1) {
        const zk::GeneratorOptions rendering = RenderingOptions(false);
        if (rendering.format == GenerationOptions(false).format && !keepLineBreaks)
            html = code;
        else
            html = Generate(rendering);
        generatedCode_ = *code;
    }
    zk::platform::setClipboardText(QString::fromStdString(*code),
                                   html ? QString::fromStdString(*html) : QString());
    if (settings_.MinimizeAfterCopy == 1)
        host_.HideToTray();
}

void CodeOutput::BoutCodeClick() {
    if (Panel8->isVisible()) {
        host_.CloseOverlayPanels();
        editor_->setFocus();
        return;
    }
    if (generating_) {
        zk::platform::beep();
        return;
    }
    host_.CloseOverlayPanels();
    // The code view keeps the text's line breaks.
    if (!Generate(true))
        return;
    setEditorText(Memo2, generatedCode_);
    host_.ToggleOverlayPanel(kCodeViewPanel, {}, {});
    Memo2->setFocus();
}

bool CodeOutput::DrawPicture(std::function<void(const QImage&)> done) {
    // A picture cannot scroll: a marquee's text is drawn standing still.
    zk::FormattingState still = settings_.fmt;
    still.ScrollingOn = 0;
    const std::string code = zk::GenerateCode(coreText(editor_), still, RenderingOptions(false));
    if (code.empty() || picture_->busy()) {
        zk::platform::beep();
        return false;
    }
    zk::platform::PreviewPage page(
        host_, zk::platform::dataPath(appFolder_, zk::data::kPicturePage), [] { return nullptr; });
    if (!page.writeFragment(code)) {
        emit pictureDone(false);
        return false;
    }
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(picture_, &zk::platform::PagePicture::drawn, this,
                          [this, connection, done = std::move(done)](const QImage& picture) {
                              disconnect(*connection);
                              if (picture.isNull()) {
                                  zk::platform::beep();
                                  emit pictureDone(false);
                                  return;
                              }
                              done(picture);
                          });
    picture_->draw(page.path(), kPaneGeometry.width(), 2 * window_->devicePixelRatioF());
    return true;
}

void CodeOutput::CopiercommeImage1Click() {
    DrawPicture([this](const QImage& picture) {
        zk::platform::setClipboardImage(picture);
        emit pictureDone(true);
    });
}

void CodeOutput::EnregistrercommeImage1Click() {
    QString chosen = zk::platform::dialogs().saveFileName(
        host_.hostWindow(), QStringLiteral("Enregistrer comme image"),
        QString::fromStdString(settings_.LastFolder), QStringLiteral("Images PNG (*.png)|*.png"),
        nullptr);
    if (chosen.isEmpty())
        return;
    if (!chosen.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        chosen += QStringLiteral(".png");
    if (QFileInfo::exists(chosen) &&
        !zk::platform::dialogs().confirmReplace(host_.hostWindow(), chosen))
        return;
    DrawPicture([this, chosen](const QImage& picture) {
        const QByteArray png = zk::platform::pngOf(picture);
        // The file the name had, if any, stays whole when the write fails.
        const bool ok = zk::platform::reportWrite(
            host_, zk::writeFileAtomically(
                       QFile::encodeName(chosen).toStdString(),
                       std::string_view(png.constData(), static_cast<std::size_t>(png.size()))));
        emit pictureDone(ok);
    });
}

} // namespace zk::ui
