#include "page_picture.h"

#include <QBuffer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>

#include "html_view.h"

namespace zk::platform {

namespace {
// How often the view's drawing is looked at, and how many looks it gets before the engine
// is taken to have failed.
constexpr int kLookMs = 20;
constexpr int kMaxLooks = 1000;
// The tallest page drawn, in pixels of the page: a picture, not a poster.
constexpr int kMaxHeight = 4000;

// The room the page's content takes, and whether the page paints a background of its own.
const char kMeasure[] = R"((function () {
    var d = document.documentElement, b = document.body;
    function own(e) {
        if (!e) return false;
        var s = getComputedStyle(e);
        return s.backgroundImage !== 'none' || s.backgroundColor !== 'rgba(0, 0, 0, 0)';
    }
    return [d.scrollWidth, Math.ceil(d.getBoundingClientRect().height), own(d) || own(b)];
})())";

bool oneColour(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(line, line + image.width(), [first](QRgb p) { return p != first; }))
            return false;
    }
    return true;
}
} // namespace

QImage pictureOverNoBackground(const QImage& overWhite, const QImage& overBlack) {
    const QImage white = overWhite.convertToFormat(QImage::Format_ARGB32);
    const QImage black = overBlack.convertToFormat(QImage::Format_ARGB32);
    if (white.size() != black.size())
        return {};
    QImage out(white.size(), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        const auto* w = reinterpret_cast<const QRgb*>(white.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(black.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            // What shows of the background is what the page lets through.
            const int through =
                std::clamp(std::max({qRed(w[x]) - qRed(b[x]), qGreen(w[x]) - qGreen(b[x]),
                                     qBlue(w[x]) - qBlue(b[x])}),
                           0, 255);
            const int alpha = 255 - through;
            if (alpha == 0) {
                o[x] = qRgba(0, 0, 0, 0);
                continue;
            }
            const auto unmix = [alpha](int c) {
                return std::min(255, (c * 255 + alpha / 2) / alpha);
            };
            o[x] = qRgba(unmix(qRed(b[x])), unmix(qGreen(b[x])), unmix(qBlue(b[x])), alpha);
        }
    }
    return out;
}

QByteArray pngOf(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

QImage croppedToContent(const QImage& picture) {
    if (picture.isNull())
        return {};
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb corner = image.pixel(0, 0);
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == corner)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return {};
    return image.copy(left, top, right - left + 1, bottom - top + 1);
}

PagePicture::PagePicture(QObject* parent) : QObject(parent) {
    poll_.setInterval(kLookMs);
    connect(&poll_, &QTimer::timeout, this, &PagePicture::look);
}

PagePicture::~PagePicture() {
    delete view_; // a window of its own, not a child
}

bool PagePicture::draw(const QString& path, int width, qreal scale) {
    if (busy())
        return false;
    if (!view_) {
        view_ = createHtmlView(nullptr);
        view_->setAttribute(Qt::WA_DontShowOnScreen);
        view_->page()->setAudioMuted(true);
        connect(view_, &QWebEngineView::loadFinished, this, &PagePicture::loaded);
        view_->show();
    }
    // The view's own pixel ratio is the screen's: the page is zoomed for the rest.
    zoom_ = scale / view_->devicePixelRatioF();
    width_ = width;
    stage_ = Stage::Loading;
    view_->setZoomFactor(zoom_);
    view_->resize(qCeil(width * zoom_), qCeil(200 * zoom_));
    view_->page()->setBackgroundColor(Qt::white);
    showFile(view_, path);
    return true;
}

void PagePicture::loaded(bool ok) {
    if (stage_ != Stage::Loading)
        return;
    if (!ok) {
        finish({});
        return;
    }
    stage_ = Stage::Sizing;
    view_->page()->runJavaScript(QString::fromLatin1(kMeasure), QWebEngineScript::ApplicationWorld,
                                 [self = QPointer<PagePicture>(this)](const QVariant& answer) {
                                     if (self)
                                         self->sized(answer);
                                 });
}

void PagePicture::sized(const QVariant& answer) {
    if (stage_ != Stage::Sizing)
        return;
    const QVariantList room = answer.toList();
    if (room.size() != 3) {
        finish({});
        return;
    }
    const int width = std::max(width_, room.at(0).toInt());
    // A little more than the content, so that no scroll bar takes room from it.
    const int height = std::clamp(room.at(1).toInt() + 8, 16, kMaxHeight);
    ownBackground_ = room.at(2).toBool();
    view_->resize(qCeil(width * zoom_), qCeil(height * zoom_));
    stage_ = Stage::OverWhite;
    looks_ = 0;
    previous_ = QImage();
    poll_.start();
}

void PagePicture::look() {
    if (++looks_ > kMaxLooks) {
        finish({});
        return;
    }
    const QImage now = view_->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage before = std::exchange(previous_, now);
    const QSize expected = view_->size() * view_->devicePixelRatioF();
    // A drawing of the page as it is now: of the view's size, over the background asked
    // for, the same from one look to the next.
    if (now.isNull() || now.size() != expected || now != before)
        return;
    if (stage_ == Stage::OverWhite) {
        if (oneColour(now) || (!ownBackground_ && now.pixel(0, 0) != qRgb(255, 255, 255)))
            return;
        if (ownBackground_) {
            finish(croppedToContent(now));
            return;
        }
        overWhite_ = now;
        stage_ = Stage::OverBlack;
        previous_ = QImage();
        view_->page()->setBackgroundColor(Qt::black);
        return;
    }
    if (now.pixel(0, 0) != qRgb(0, 0, 0))
        return;
    finish(croppedToContent(pictureOverNoBackground(overWhite_, now)));
}

void PagePicture::finish(const QImage& picture) {
    poll_.stop();
    stage_ = Stage::Idle;
    overWhite_ = QImage();
    previous_ = QImage();
    emit drawn(picture);
}

} // namespace zk::platform
