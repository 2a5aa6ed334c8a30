#include "text_files.h"

#include "atomic_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using zk::OpenStatus;
using zk::SaveKind;

TEST(OpenFileRules, ExtensionsShownNotLoaded) {
    struct Row {
        const char* path;
        const char* key;
        bool shown;
    };
    const Row rows[] = {
        {"Photo.JPG", ".jpg", true},
        {"page.htmlx", ".html", true},
        {"notes", "", false},
        {"/home/u/a.HTM", ".htm", true},
        {"/home/u/b.html", ".html", true},
        {"c.jpeg", ".jpeg", true},
        {"c.JPEGS", ".jpeg", true},
        {"d.gif", ".gif", true},
        {"e.Png", ".png", true},
        {"f.bmp", ".bmp", true},
        {"lettre.txt", ".txt", false},
        {"archive.html.txt", ".txt", false},
        {"photo.jpg.bak", ".bak", false},
        {"/home/u/site.html/notes", "", false},
        {"/home/u/fin.", ".", false},
        {"/home/u/.htm", ".htm", true},
        {"été.ÉTÉ", ".ÉtÉ", false},
        {"x.ÉÉÉÉÉÉ", ".ÉÉÉÉ", false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(zk::extensionKey(r.path), r.key) << r.path;
        EXPECT_EQ(zk::isWebOrPictureFile(r.path), r.shown) << r.path;
    }
}

TEST(OpenFileRules, FolderOfAPath) {
    EXPECT_EQ(zk::folderOf("/home/u/Mes documents/lettre.txt"), "/home/u/Mes documents/");
    EXPECT_EQ(zk::folderOf("/lettre.txt"), "/");
    EXPECT_EQ(zk::folderOf("lettre.txt"), "");
}

TEST(OpenFileRules, WhereAPageIsShown) {
    struct Row {
        int inProgram;
        int newWindow;
        zk::PreviewAction action;
    };
    const Row rows[] = {
        {1, 0, zk::PreviewAction::InProgram}, {1, 1, zk::PreviewAction::InProgram},
        {0, 0, zk::PreviewAction::ShellOpen}, {0, 1, zk::PreviewAction::LaunchBrowser},
        {0, 2, zk::PreviewAction::Nothing},   {2, 0, zk::PreviewAction::ShellOpen},
    };
    for (const auto& r : rows)
        EXPECT_EQ(zk::previewActionFor(r.inProgram, r.newWindow), r.action)
            << r.inProgram << " " << r.newWindow;
}

TEST(OpenFileRules, SizeLimit) {
    EXPECT_TRUE(zk::textFileSizeAllowed(0));
    EXPECT_TRUE(zk::textFileSizeAllowed(32768));
    EXPECT_FALSE(zk::textFileSizeAllowed(32769));
}

TEST(SaveFileRules, NameGetsTheExtensionOfTheFilter) {
    struct Row {
        const char* chosen;
        SaveKind kind;
        const char* saved;
    };
    const Row rows[] = {
        {"/home/u/Mes documents/lettre.txt", SaveKind::Html, "/home/u/Mes documents/lettre.html"},
        {"lettre.old.txt", SaveKind::Text, "lettre.txt"},
        {"notes", SaveKind::Text, "notes.txt"},
        {"notes", SaveKind::Html, "notes.html"},
        {"/home/u/v1.2/notes", SaveKind::Html, "/home/u/v1.2/notes.html"},
        {"/home/u/v1.2/page.htm", SaveKind::Html, "/home/u/v1.2/page.html"},
        {"fin.", SaveKind::Text, "fin.txt"},
        {"page.html", SaveKind::Text, "page.txt"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(zk::saveFileName(r.chosen, r.kind), r.saved) << r.chosen;
}

TEST(SaveFileRules, FilterEntry) {
    EXPECT_EQ(zk::saveKindForFilter(1), SaveKind::Text);
    EXPECT_EQ(zk::saveKindForFilter(2), SaveKind::Html);
    EXPECT_EQ(zk::saveKindForFilter(0), SaveKind::Text);
    EXPECT_EQ(zk::saveKindForFilter(3), SaveKind::Text);
}

TEST(SaveFileRules, HtmlPageWrapping) {
    EXPECT_EQ(zk::wrapHtmlForSave("<b>Salut</b>"), "<html><head></head><b>Salut</b></html>");
    EXPECT_EQ(zk::wrapHtmlForSave(""), "<html><head></head></html>");
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zk_text_files_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    void write(const std::string& file, const std::string& bytes) const {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string read(const std::string& file) const {
        std::string bytes;
        EXPECT_TRUE(zk::readWholeFile(file, bytes)) << file;
        return bytes;
    }
    fs::path dir_;
};

TEST_F(TextFileTest, ExactlyTheLimitIsLoadedOneByteMoreIsRefused) {
    write(path("limite.txt"), std::string(32768, 'a'));
    write(path("trop.txt"), std::string(32769, 'a'));
    const zk::OpenedText atLimit = zk::readTextFileForEditor(path("limite.txt"));
    EXPECT_EQ(atLimit.status, OpenStatus::Loaded);
    EXPECT_EQ(atLimit.text, std::string(32768, 'a'));
    const zk::OpenedText tooBig = zk::readTextFileForEditor(path("trop.txt"));
    EXPECT_EQ(tooBig.status, OpenStatus::TooBig);
    EXPECT_TRUE(tooBig.text.empty());
}

TEST_F(TextFileTest, FilesThatCannotBeOpened) {
    EXPECT_EQ(zk::readTextFileForEditor(path("absent.txt")).status, OpenStatus::CannotOpen);
    EXPECT_EQ(zk::readTextFileForEditor(dir_.string()).status, OpenStatus::CannotOpen);
    // A named pipe without a writer and a device are refused at once, never waited on.
    ASSERT_EQ(mkfifo(path("tube.txt").c_str(), 0600), 0);
    EXPECT_EQ(zk::readTextFileForEditor(path("tube.txt")).status, OpenStatus::CannotOpen);
    EXPECT_EQ(zk::readTextFileForEditor("/dev/zero").status, OpenStatus::CannotOpen);
}

TEST_F(TextFileTest, DecodingAndLineBreaks) {
    struct Row {
        const char* what;
        std::string bytes;
        const char* text;
    };
    const Row rows[] = {
        {"Windows-1252", "caf\xE9 \x80\n", "café €\r\n"},
        {"UTF-8", "日本\rné", "日本\r\nné"},
        {"plain ASCII, mixed line breaks", "a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd"},
        {"empty file", "", ""},
    };
    for (const auto& r : rows) {
        write(path("f.txt"), r.bytes);
        const zk::OpenedText opened = zk::readTextFileForEditor(path("f.txt"));
        EXPECT_EQ(opened.status, OpenStatus::Loaded) << r.what;
        EXPECT_EQ(opened.text, r.text) << r.what;
    }
}

TEST_F(TextFileTest, FilesThatAreNotTextAreRefused) {
    struct Row {
        const char* what;
        std::string bytes;
        OpenStatus status;
    };
    const Row rows[] = {
        {"a picture's header", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16),
         OpenStatus::NotText},
        {"a NUL late in a text", std::string("texte\0", 6), OpenStatus::NotText},
        {"UTF-16 with its mark",
         std::string("\xFF\xFE"
                     "a\0b\0",
                     6),
         OpenStatus::NotText},
        {"UTF-16 big-endian, no NUL", "\xFE\xFF\x65\xE5", OpenStatus::NotText},
        {"control characters other than NUL are text", "a\x01\x1B[0m\tb", OpenStatus::Loaded},
        {"a UTF-8 mark is text", "\xEF\xBB\xBFnoël", OpenStatus::Loaded},
    };
    for (const auto& r : rows) {
        write(path("f.bin"), r.bytes);
        const zk::OpenedText opened = zk::readTextFileForEditor(path("f.bin"));
        EXPECT_EQ(opened.status, r.status) << r.what;
        if (r.status != OpenStatus::Loaded) {
            EXPECT_TRUE(opened.text.empty()) << r.what;
        }
    }
}

TEST_F(TextFileTest, AUtf8TextWithEmojiSurvivesSaveAndOpen) {
    const std::string text = "Noël 👍🏽 日本\r\nfin\u00A0!";
    const std::string file = path("emoji.txt");
    ASSERT_TRUE(zk::saveTextFile(file, text).ok());
    const zk::OpenedText back = zk::readTextFileForEditor(file);
    ASSERT_EQ(back.status, OpenStatus::Loaded);
    EXPECT_EQ(back.text, text);
}

TEST_F(TextFileTest, RefusalMessages) {
    EXPECT_EQ(zk::openErrorMessage(OpenStatus::NotText),
              "\r\nCe fichier n'est pas un texte\r\nque ZelkoHTML sait lire !");
    EXPECT_EQ(zk::openErrorMessage(OpenStatus::CannotOpen),
              "\r\n\r\nImpossible d'ouvrir ce fichier");
    EXPECT_EQ(zk::openErrorMessage(OpenStatus::TooBig),
              "\r\nLe fichier que vous tentez d'ouvrir\r\nest trop gros pour ZelkoHTML !");
    EXPECT_EQ(zk::openErrorMessage(OpenStatus::Loaded), "");
    EXPECT_EQ(zk::writeErrorMessage(), "\r\nERREUR en écriture");
}

TEST_F(TextFileTest, SavingTextReplacesTheFile) {
    const std::string file = path("lettre.txt");
    write(file, "ancien contenu bien plus long");
    ASSERT_TRUE(zk::saveTextFile(file, "café\r\n").ok());
    EXPECT_EQ(read(file), "caf\xE9\r\n");
    ASSERT_TRUE(zk::saveTextFile(file, "café 日本\r\n").ok());
    EXPECT_EQ(read(file), "café 日本\r\n") << "UTF-8 when a character does not fit";
    const zk::OpenedText back = zk::readTextFileForEditor(file);
    EXPECT_EQ(back.text, "café 日本\r\n");
}

TEST_F(TextFileTest, SavingAPage) {
    const std::string file = path("page.html");
    ASSERT_TRUE(zk::saveHtmlFile(file, zk::wrapHtmlForSave("é 日 👍")).ok());
    EXPECT_EQ(read(file), "<html><head></head>\xE9 &#26085; &#128077;</html>");
}

TEST_F(TextFileTest, SavingIntoAMissingFolderFails) {
    EXPECT_FALSE(zk::saveTextFile(path("absent/lettre.txt"), "x").ok());
    EXPECT_FALSE(zk::saveHtmlFile(path("absent/page.html"), "x").ok());
}

} // namespace
