#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "html_view.h"
#include "page_script.h"

using namespace zk::platform;

namespace {

// Replaces a file through a sibling and a rename, as the window writes its pages.
bool replaceFile(const QString& path, const QByteArray& bytes) {
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) ==
           0;
}

// Shows path and waits for the page to finish loading; true when it loaded.
bool showAndWait(QWebEngineView* view, const QString& path) {
    QSignalSpy finished(view, &QWebEngineView::loadFinished);
    showFile(view, path);
    if (!finished.wait(60000))
        return false;
    return finished.last().value(0).toBool();
}

// One second of silence as a 8 kHz, 8-bit mono WAVE file.
bool writeSilentWave(const QString& path) {
    const quint32 samples = 8000;
    QByteArray wave;
    auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            wave += char((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&](quint16 v) {
        wave += char(v & 0xFF);
        wave += char(v >> 8);
    };
    wave += "RIFF";
    u32(36 + samples);
    wave += "WAVEfmt ";
    u32(16);
    u16(1);    // PCM
    u16(1);    // mono
    u32(8000); // sample rate
    u32(8000); // bytes per second
    u16(1);    // block align
    u16(8);    // bits per sample
    wave += "data";
    u32(samples);
    wave += QByteArray(samples, char(0x80));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wave) == wave.size();
}

} // namespace

class HtmlViewTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        view_ = createHtmlView(nullptr);
        view_->resize(400, 300);
        view_->show();
    }
    void cleanupTestCase() { delete view_; }

    // A page that declares no encoding is read by the program's text rule: Windows-1252,
    // or UTF-8 when its bytes are valid UTF-8 with some above 127. The engine's own guess
    // takes short accented texts for Cyrillic or Mac Roman.
    void pageEncoding_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("text");
        const QByteArray head = "<html><head></head><body>";
        const QByteArray tail = "</body></html>";
        QTest::newRow("é and the 0x80-0x9F range")
            << head + "caf\xE9 \x80 \x95 \x9C" + tail << QStringLiteral("café € • œ");
        QTest::newRow("only accented letters")
            << head + "\xE9\xE8\xEA\xEB\xE0\xE2\xE4\xEE\xEF\xF4\xF6\xF9\xFB\xFC\xE7" + tail
            << QStringLiteral("éèêëàâäîïôöùûüç");
        QTest::newRow("gradient fonts")
            << head + "<font color=#FF0000>\xE9</font><font color=#FF8000>t\xE9</font>" + tail
            << QStringLiteral("été");
        QTest::newRow("one letter") << head + "\xC7" + tail << QStringLiteral("Ç");
        QTest::newRow("punctuation") << head +
                                            "Tr\xE8s bien \x97 merci\x85 \x93"
                                            "cit\xE9\x94 \xAB ok \xBB" +
                                            tail
                                     << QStringLiteral("Très bien — merci… “cité” « ok »");
        QTest::newRow("character reference")
            << head + "\xE9 &#128512; &#8364;" + tail << QStringLiteral("é 😀 €");
        QTest::newRow("utf-8 without declaration")
            << head + "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80" + tail << QStringLiteral("été 😀");
        QTest::newRow("declared utf-8")
            << QByteArray("<html><head><meta charset=\"utf-8\"></head><body>\xC3\xA7"
                          "a</body></html>")
            << QStringLiteral("ça");
        QTest::newRow("declared latin-1 in http-equiv")
            << QByteArray("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                          "charset=iso-8859-1\"></head><body>\xE7\xE0</body></html>")
            << QStringLiteral("çà");
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF<html><body>\xC3\xA9</body></html>") << QStringLiteral("é");
    }
    void pageEncoding() {
        QFETCH(QByteArray, page);
        QFETCH(QString, text);
        const QString path = dir_.filePath(QStringLiteral("TempHTML.html"));
        QVERIFY(replaceFile(path, page));
        QVERIFY(showAndWait(view_, path));
        QCOMPARE(evaluate(view_, QStringLiteral("document.body.innerText")).toString(), text);
    }

    // Pictures named by the page, by full path and relative to it, are shown.
    void pageLoadsLocalPictures() {
        QVERIFY(QDir().mkpath(dir_.filePath(QStringLiteral("img"))));
        QImage image(37, 21, QImage::Format_RGB32);
        image.fill(Qt::green);
        const QString picture = dir_.filePath(QStringLiteral("img/photo été.png"));
        QVERIFY(image.save(picture, "PNG"));
        const QString path = dir_.filePath(QStringLiteral("Image.html"));
        QVERIFY(replaceFile(
            path, "<html><body>\xE9<img src=\"" + QUrl::fromLocalFile(picture).toEncoded() +
                      "\"><img src=\"img/photo%20%C3%A9t%C3%A9.png\"></body></html>"));
        QVERIFY(showAndWait(view_, path));
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(view_, QStringLiteral("Array.from(document.images).map(i => i.complete && "
                                           "i.naturalWidth).join(',')"))
                .toString(),
            QStringLiteral("37,37"), 30000);
    }

    // <bgsound>, which the engine does not know, is played; the page stays as written.
    void backgroundSoundPlays_data() {
        QTest::addColumn<QByteArray>("loop");
        QTest::addColumn<bool>("loops");
        QTest::newRow("for ever") << QByteArray("-1") << true;
        QTest::newRow("infinite") << QByteArray("infinite") << true;
        QTest::newRow("once") << QByteArray("1") << false;
    }
    void backgroundSoundPlays() {
        QFETCH(QByteArray, loop);
        QFETCH(bool, loops);
        QVERIFY(QDir().mkpath(dir_.filePath(QStringLiteral("sons été"))));
        const QString sound = dir_.filePath(QStringLiteral("sons été/bip.wav"));
        QVERIFY(writeSilentWave(sound));
        const QString path = dir_.filePath(QStringLiteral("TempHTML.html"));
        const QByteArray tag =
            "<bgsound src=\"" + QFile::encodeName(sound) + "\" loop= \"" + loop + "\">";
        QVERIFY(replaceFile(path, "<html><head></head><body>" + tag + "son</body></html>"));
        QVERIFY(showAndWait(view_, path));
        QVERIFY(evaluate(view_, QStringLiteral("document.body.innerHTML"))
                    .toString()
                    .startsWith(QStringLiteral("<bgsound")));
        const QString sounds = QStringLiteral("(window.zelkoSounds || [])");
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(view_, sounds + QStringLiteral(".length")).toInt(), 1,
                                  30000);
        QCOMPARE(evaluate(view_, sounds + QStringLiteral("[0].src")).toUrl(),
                 QUrl::fromLocalFile(sound));
        QCOMPARE(evaluate(view_, sounds + QStringLiteral("[0].loop")).toBool(), loops);
        // The file was found and read (its length is known) and plays without a click.
        QTRY_VERIFY_WITH_TIMEOUT(
            evaluate(view_, sounds + QStringLiteral("[0].duration")).toDouble() > 0.5, 30000);
        if (loops)
            QVERIFY(!evaluate(view_, sounds + QStringLiteral("[0].paused")).toBool());
    }

    // A page too large to hand over whole is still shown, read by the engine.
    void largePageIsShown() {
        QByteArray page = "<html><head></head><body>";
        const QByteArray line = "<p>\xE9t\xE9 &lt;&gt; ligne</p>\r\n";
        while (page.size() < 2 * 1024 * 1024)
            page += line;
        page += "<p id=\"end\">fin</p></body></html>";
        const QString path = dir_.filePath(QStringLiteral("big.html"));
        QVERIFY(replaceFile(path, page));
        QVERIFY(showAndWait(view_, path));
        QCOMPARE(
            evaluate(view_, QStringLiteral("document.getElementById('end').innerText")).toString(),
            QStringLiteral("fin"));
        QCOMPARE(
            evaluate(view_, QStringLiteral("document.querySelector('p').innerText")).toString(),
            QStringLiteral("été <> ligne"));
    }

    // The preview page is rewritten under the same name before each show: the view must
    // show the new content every time.
    void rewrittenPageShowsNewContent() {
        const QString path = dir_.filePath(QStringLiteral("Temp/TempHTML.html"));
        QVERIFY(QDir().mkpath(dir_.filePath(QStringLiteral("Temp"))));
        for (int round = 0; round < 4; ++round) {
            const QByteArray text = "version " + QByteArray::number(round);
            if (round % 2 == 0) {
                QVERIFY(replaceFile(path, "<html><body>" + text + "</body></html>"));
            } else { // rewritten in place, same file
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write("<html><body>" + text + "</body></html>");
            }
            QVERIFY(showAndWait(view_, path));
            QCOMPARE(evaluate(view_, QStringLiteral("document.body.innerText")).toString(),
                     QString::fromLatin1(text));
        }
    }

    // Two shows in a row, the page rewritten between them: the second content wins.
    void quickSuccessiveShowsEndOnLatest() {
        const QString path = dir_.filePath(QStringLiteral("quick.html"));
        QVERIFY(replaceFile(path, "<html><body>first</body></html>"));
        QVERIFY(showAndWait(view_, path));
        for (const QByteArray& text : {QByteArray("second"), QByteArray("third")}) {
            QVERIFY(replaceFile(path, "<html><body>" + text + "</body></html>"));
            showFile(view_, path);
        }
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(view_, QStringLiteral("document.body ? document.body.innerText : ''"))
                .toString(),
            QStringLiteral("third"), 60000);
    }

    // Folders with spaces, accents and '#' still name the file, not a fragment.
    void pathWithSpecialCharacters() {
        QVERIFY(QDir().mkpath(dir_.filePath(QStringLiteral("Mes pages été"))));
        const QString path = dir_.filePath(QStringLiteral("Mes pages été/page #1.html"));
        QVERIFY(replaceFile(path, "<html><body>ici</body></html>"));
        QVERIFY(showAndWait(view_, path));
        QCOMPARE(evaluate(view_, QStringLiteral("document.body.innerText")).toString(),
                 QStringLiteral("ici"));
    }

    void pictureIsShown() {
        const QString path = dir_.filePath(QStringLiteral("image.png"));
        QImage image(37, 21, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(path));
        QVERIFY(showAndWait(view_, path));
        QCOMPARE(evaluate(view_, QStringLiteral("document.images.length")).toInt(), 1);
        QCOMPARE(evaluate(view_, QStringLiteral("document.images[0].naturalWidth")).toInt(), 37);
    }

private:
    QTemporaryDir dir_;
    QWebEngineView* view_ = nullptr;
};

int main(int argc, char** argv) {
    configureWebEngineForRoot();
    QApplication app(argc, argv);
    HtmlViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "html_view_test.moc"
