// A page drawn into a picture as a browser view shows it, for the copy and the save of the
// preview as an image.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWebEngineView;

namespace zk::platform {

// The picture of a page over no background: drawn once over white and once over black, a
// pixel's opacity is what the two keep in common. Where the page has a background of its own
// both drawings agree and the picture is opaque.
QImage pictureOverNoBackground(const QImage& overWhite, const QImage& overBlack);

// The picture as the bytes of a PNG file.
QByteArray pngOf(const QImage& picture);

// The smallest part of picture that holds every pixel unlike its top-left one; a null picture
// when there is none.
QImage croppedToContent(const QImage& picture);

// Draws page files in a browser view of its own that is never on screen, its page's scripts
// off and its sounds muted, as the program's other views show pages.
class PagePicture final : public QObject {
    Q_OBJECT

public:
    explicit PagePicture(QObject* parent = nullptr);
    ~PagePicture() override;

    // Starts drawing the page file at path laid out width pixels wide (more when its content
    // is wider), at scale device pixels per pixel of the page, cropped to its content;
    // drawn() tells the picture. False, at once, while a drawing is under way.
    bool draw(const QString& path, int width, qreal scale);
    bool busy() const { return stage_ != Stage::Idle; }

signals:
    // The picture; a null one when the page could not be drawn (not loaded, nothing in it,
    // no drawing from the engine in time).
    void drawn(const QImage& picture);

private:
    enum class Stage { Idle, Loading, Sizing, OverWhite, OverBlack };

    void loaded(bool ok);
    void sized(const QVariant& answer);
    void look();
    void finish(const QImage& picture);

    QPointer<QWebEngineView> view_;
    QTimer poll_;
    Stage stage_ = Stage::Idle;
    qreal zoom_ = 1;
    int width_ = 0;
    bool ownBackground_ = false;
    int looks_ = 0;
    QImage previous_;
    QImage overWhite_;
};

} // namespace zk::platform
