#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "html_view.h"

using namespace zk::platform;

namespace {

// Replaces a file through a sibling and a rename, as the window writes its pages.
bool replaceFile(const QString& path, const QByteArray& bytes) {
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) == 0;
}

// Shows path and waits for the page to finish loading; true when it loaded.
bool showAndWait(QWebEngineView* view, const QString& path) {
    QSignalSpy finished(view, &QWebEngineView::loadFinished);
    showFile(view, path);
    if (!finished.wait(60000))
        return false;
    return finished.last().value(0).toBool();
}

QVariant evaluate(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 60000))
        return QStringLiteral("<no answer>");
    return result;
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

    // A page without a declared charset is read as windows-1252: 0xE9 is é, 0x80 is €.
    void windows1252PageWithoutCharset() {
        const QString path = dir_.filePath(QStringLiteral("TempHTML.html"));
        QVERIFY(replaceFile(path, "<html><head></head><body>caf\xE9 \x80 \x95 \x9C"
                                  "</body></html>"));
        QVERIFY(showAndWait(view_, path));
        QCOMPARE(evaluate(view_, QStringLiteral("document.body.innerText")).toString(),
                 QStringLiteral("café € • œ"));
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
