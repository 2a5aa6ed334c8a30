#include "text_files.h"

#include <array>

#include "ordinary_file.h"
#include "text.h"

namespace zk {
namespace {

std::string_view fileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Text in Windows-1252 or UTF-8 never holds a NUL byte; binary files and UTF-16 or
// UTF-32 text nearly always do, and would come out as garbage the user could then save
// over the file. A UTF-16 byte order mark gives such a file away even without a NUL.
bool looksLikeText(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos)
        return false;
    const std::string_view start = bytes.substr(0, 2);
    return start != "\xFF\xFE" && start != "\xFE\xFF";
}

} // namespace

std::string extensionKey(std::string_view path) {
    const std::string_view name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    // Five characters, not bytes: a UTF-8 character is never cut in two.
    std::string ext;
    int count = 0;
    for (char c : name.substr(dot)) {
        const bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (starts && ++count > 5)
            break;
        ext += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return ext;
}

bool isWebOrPictureFile(std::string_view path) {
    static constexpr std::array<std::string_view, 7> kShown = {".htm", ".html", ".jpg", ".jpeg",
                                                               ".gif", ".png",  ".bmp"};
    const std::string ext = extensionKey(path);
    for (std::string_view shown : kShown)
        if (ext == shown)
            return true;
    return false;
}

std::string folderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

PreviewAction previewActionFor(int previewInProgram, int previewInNewWindow) {
    if (previewInProgram == 1)
        return PreviewAction::InProgram;
    if (previewInNewWindow == 0)
        return PreviewAction::ShellOpen;
    if (previewInNewWindow == 1)
        return PreviewAction::LaunchBrowser;
    return PreviewAction::Nothing;
}

OpenedText readTextFileForEditor(const std::string& path) {
    OpenedText result;
    // Only an ordinary file is a document: not a folder, a pipe or a device.
    ReadResult read = readOrdinaryFile(path, kTextSizeLimit);
    if (read.status == ReadStatus::TooBig) {
        result.status = OpenStatus::TooBig;
        return result;
    }
    if (!read.ok())
        return result;
    if (!looksLikeText(read.bytes)) {
        result.status = OpenStatus::NotText;
        return result;
    }
    result.status = OpenStatus::Loaded;
    result.text = normalizeLineEnds(decodeTextFile(read.bytes));
    return result;
}

std::string openErrorMessage(OpenStatus status) {
    switch (status) {
    case OpenStatus::CannotOpen:
        return "\r\n\r\nImpossible d'ouvrir ce fichier";
    case OpenStatus::TooBig:
        return "\r\nLe fichier que vous tentez d'ouvrir\r\nest trop gros pour ZelkoHTML !";
    case OpenStatus::NotText:
        return "\r\nCe fichier n'est pas un texte\r\nque ZelkoHTML sait lire !";
    case OpenStatus::Loaded:
        break;
    }
    return {};
}

std::string saveFileName(std::string_view path, SaveKind kind) {
    const std::size_t nameStart = path.size() - fileNameOf(path).size();
    const std::size_t dot = path.find('.', nameStart);
    std::string out(path.substr(0, dot == std::string_view::npos ? path.size() : dot));
    out += kind == SaveKind::Html ? ".html" : ".txt";
    return out;
}

std::string wrapHtmlForSave(std::string_view fragment) {
    std::string page = "<html><head></head>";
    page.append(fragment);
    page += "</html>";
    return page;
}

WriteResult saveTextFile(const std::string& path, std::string_view text) {
    return writeFileAtomically(path, encodeTextFile(text));
}

WriteResult saveHtmlFile(const std::string& path, std::string_view page) {
    return writeFileAtomically(path, encodeHtmlPage(page));
}

std::string writeErrorMessage() {
    return "\r\nERREUR en \xC3\xA9"
           "criture";
}

} // namespace zk
