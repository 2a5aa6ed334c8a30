// The window on a screen of two device pixels per pixel (QT_SCALE_FACTOR=2, set by main
// below): the screenshot of the window has twice its size in each direction, the toolbar
// icons are drawn at that resolution rather than enlarged, and the browser engine renders
// the preview with all the device pixels.
#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>

#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

constexpr qreal kScale = 2.0;

// How many of the aligned 2 x 2 squares of device pixels in `area` hold more than one
// colour. A picture drawn with half as many pixels and enlarged has none: each of its
// pixels became one such square.
int detailedSquares(const QImage& picture, const QRect& area) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    int detailed = 0;
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2) {
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
                image.pixel(x + 1, y + 1) != c)
                ++detailed;
        }
    }
    return detailed;
}

int detailedSquares(const QImage& picture) {
    return detailedSquares(picture, picture.rect());
}

// What the X server shows of the window, in device pixels.
QImage screenshot(TForm1* form) {
    return form->screen()->grabWindow(form->winId()).toImage();
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder = std::make_unique<AppFolder>();
        // At the top left, where the whole window fits on the screen's 640 x 512 pixels.
        folder->writeSettings({{2, "0"}, {3, "0"}});
        form = zktest::openWindow(*folder);
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void windowHasTwiceItsSizeInDevicePixels() {
        QCOMPARE(form->devicePixelRatioF(), kScale);
        QCOMPARE(form->size(), QSize(544, 415)); // the layout as designed, in pixels
        QScreen* screen = form->screen();
        QVERIFY2(screen->geometry().contains(form->geometry()),
                 qPrintable(QStringLiteral("window %1,%2 %3x%4 on a screen of %5x%6")
                                .arg(form->x())
                                .arg(form->y())
                                .arg(form->width())
                                .arg(form->height())
                                .arg(screen->size().width())
                                .arg(screen->size().height())));
        // The screen itself: the X server's 1280 x 1024 device pixels.
        QCOMPARE(screen->grabWindow(0).size(), screen->size() * kScale);
        const QPixmap shot = form->screen()->grabWindow(form->winId());
        QCOMPARE(shot.size(), form->size() * kScale);
        QCOMPARE(shot.devicePixelRatio(), kScale);
    }

    void toolbarIconsAreDrawnAtDeviceResolution() {
        // Buttons whose drawings have curves and slants: an enlarged picture shows steps.
        for (QToolButton* button :
             {form->BoutLien, form->BoutNavIntegre, form->styleCommands()->BoutDegrade}) {
            const QString name = button->objectName();
            const QSize logical = button->iconSize();
            QCOMPARE(logical, QSize(16, 16));

            // The picture the button asks of its icon for this screen.
            const QPixmap picture = button->icon().pixmap(logical, form->devicePixelRatioF());
            QCOMPARE(picture.devicePixelRatio(), kScale);
            QCOMPARE(picture.size(), logical * kScale);
            const QPixmap lowResolution = button->icon().pixmap(logical, 1.0);
            QCOMPARE(lowResolution.size(), logical);
            const QImage enlarged = lowResolution.toImage().scaled(
                logical * kScale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            QCOMPARE(detailedSquares(enlarged), 0); // what the measure sees of an enlargement
            const int drawn = detailedSquares(picture.toImage());
            QVERIFY2(drawn >= 8, qPrintable(name + QStringLiteral(": %1").arg(drawn)));
            QVERIFY(picture.toImage() != lowResolution.toImage().scaled(logical * kScale,
                                                                        Qt::IgnoreAspectRatio,
                                                                        Qt::SmoothTransformation));

            // And on the screen: the icon's square in the window's screenshot, the button
            // idle on a plain background.
            const QRect icon(button->mapTo(form.get(), QPoint(0, 0)) +
                                 QPoint((button->width() - logical.width()) / 2,
                                        (button->height() - logical.height()) / 2),
                             logical);
            const QRect device(icon.topLeft() * kScale, icon.size() * kScale);
            int shown = 0;
            QTRY_VERIFY2((shown = detailedSquares(screenshot(form.get()), device)) >= 8,
                         qPrintable(name + QStringLiteral(" on screen: %1").arg(shown)));
        }
    }

    void previewRendersAtFullResolution() {
        form->Memo1->setPlainText(QStringLiteral("Aperçu net"));
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(form->codeOutput()->WebB);
        QVERIFY(
            zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("net")).contains("net"));
        // The engine itself draws with two device pixels per pixel of the page.
        QTRY_COMPARE(
            zktest::runScript(form->codeOutput()->WebB, QStringLiteral("window.devicePixelRatio"))
                .toDouble(),
            kScale);
        const QPixmap view = form->codeOutput()->WebB->grab();
        QCOMPARE(view.devicePixelRatio(), kScale);
        QCOMPARE(view.size(), form->codeOutput()->WebB->size() * kScale);
        // The text on screen has its edges at device resolution.
        const QRect pane(form->codeOutput()->WebB->mapTo(form.get(), QPoint(0, 0)) * kScale,
                         form->codeOutput()->WebB->size() * kScale);
        int shown = 0;
        QTRY_VERIFY2((shown = detailedSquares(screenshot(form.get()), pane)) >= 20,
                     qPrintable(QStringLiteral("%1").arg(shown)));
    }

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    HiDpiTest test;
    return zktest::runWindowTests(&test, argc, argv);
}

#include "hidpi_test.moc"
