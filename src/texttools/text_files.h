// Text files in and out of the editor: which files are shown instead of loaded, the size
// limit, the save name, the saved HTML page, and reading and writing them. Paths use "/".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "atomic_file.h"

namespace zk {

// A text file of up to and including this many bytes is loaded; a larger one is refused.
constexpr std::uint64_t kTextSizeLimit = 32768;
inline bool textFileSizeAllowed(std::uint64_t size) {
    return size <= kTextSizeLimit;
}

// The extension of the file name (from its last dot, the dot included; empty without a
// dot), A-Z turned to a-z, cut to its first five characters: "Photo.JPG" gives ".jpg",
// "page.htmlx" gives ".html".
std::string extensionKey(std::string_view path);

// ".htm", ".html", ".jpg", ".jpeg", ".gif", ".png", ".bmp": shown, not loaded as text.
bool isWebOrPictureFile(std::string_view path);

// The folder part of path with its trailing "/"; empty when path names no folder.
std::string folderOf(std::string_view path);

// Where a web page or picture is shown, from PreviewInProgram and PreviewInNewWindow.
enum class PreviewAction {
    InProgram,     // WebB navigates to the file, then the overlay panels close
    ShellOpen,     // the file's associated program
    LaunchBrowser, // LaunchDocument(path, "iexplore.exe")
    Nothing,
};
PreviewAction previewActionFor(int previewInProgram, int previewInNewWindow);

enum class OpenStatus {
    Loaded,
    CannotOpen,
    TooBig,
    NotText, // a NUL byte (a program, a picture) or a UTF-16 / UTF-32 byte order mark
};
struct OpenedText final {
    OpenStatus status = OpenStatus::CannotOpen;
    std::string text; // Loaded: the file's text as UTF-8, line breaks CR LF
};
// Reads a text file for the editor: refused when it cannot be opened or is not a regular
// file (a folder, a pipe, a device), holds more than kTextSizeLimit bytes or is not text in a code
// we read; decoded as UTF-8 when it is valid UTF-8 with a byte above 127, else as Windows-1252.
OpenedText readTextFileForEditor(const std::string& path);

// The banner message of a refused file: CannotOpen gives two line breaks and
// "Impossible d'ouvrir ce fichier"; TooBig gives a line break, "Le fichier que vous
// tentez d'ouvrir", a line break, "est trop gros pour ZelkoHTML !"; NotText gives a line
// break, "Ce fichier n'est pas un texte", a line break, "que ZelkoHTML sait lire !".
// Empty for Loaded.
std::string openErrorMessage(OpenStatus status);

// The save dialog's filter entries: 1 "Fichiers texte (*.txt)", 2 "Fichiers html (*.html)";
// any other entry saves text.
enum class SaveKind { Text, Html };
inline SaveKind saveKindForFilter(int filterIndex) {
    return filterIndex == 2 ? SaveKind::Html : SaveKind::Text;
}

// The name the file is saved under: cut after the first dot of the file's own name (not
// of its folders) and "txt" or "html" appended; a name without a dot gets the dot.
// "lettre.old.txt" saved as text gives "lettre.txt".
std::string saveFileName(std::string_view path, SaveKind kind);

// The saved page: "<html><head></head>" + fragment + "</html>", no body element.
std::string wrapHtmlForSave(std::string_view fragment);

// Writes the editor's text as typed: Windows-1252 when every character fits, else UTF-8.
WriteResult saveTextFile(const std::string& path, std::string_view text);
// Writes a page: Windows-1252, a character outside it as "&#N;".
WriteResult saveHtmlFile(const std::string& path, std::string_view page);

// The banner message when the saved file could not be written: "\r\nERREUR en écriture".
std::string writeErrorMessage();

} // namespace zk
