#include "icons.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <functional>
#include <utility>

namespace zk::platform {

namespace {

// An icon drawn from its vector drawing at whatever size and pixel ratio it is shown, so
// that it stays sharp on a screen of two device pixels per pixel and more. The drawing is
// made for a square of `design` pixels and scaled to the size asked for.
class DrawnIcon final : public QIconEngine {
public:
    using Drawing = std::function<void(QPainter&, QIcon::State)>;
    DrawnIcon(Drawing drawing, int design) : drawing_(std::move(drawing)), design_(design) {}

    QIconEngine* clone() const override { return new DrawnIcon(drawing_, design_); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QString key = QStringLiteral("%1x%2/%3/%4")
                                .arg(size.width())
                                .arg(size.height())
                                .arg(int(mode))
                                .arg(int(state));
        if (const auto known = cache_.constFind(key); known != cache_.constEnd())
            return *known;
        QPixmap pm = draw(size, mode, state);
        cache_.insert(key, pm);
        return pm;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(design_, design_), QSize(2 * design_, 2 * design_)};
    }

    QString iconName() override { return {}; }

private:
    QPixmap draw(const QSize& size, QIcon::Mode mode, QIcon::State state) const {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            p.scale(qreal(size.width()) / design_, qreal(size.height()) / design_);
            drawing_(p, state);
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        return pm;
    }

    Drawing drawing_;
    int design_ = 16;
    QHash<QString, QPixmap> cache_;
};

void glyph(QPainter& p, const QString& text, const QColor& color, int pixelSize, bool bold = false,
           bool italic = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(color);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
}

void page(QPainter& p, int x, int y, int w, int h) {
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    QPolygon poly;
    poly << QPoint(x, y) << QPoint(x + w - 4, y) << QPoint(x + w, y + 4) << QPoint(x + w, y + h)
         << QPoint(x, y + h);
    p.drawPolygon(poly);
}

void lines(QPainter& p, int align) {
    p.setPen(QPen(QColor(0, 0, 96), 1));
    const int widths[5] = {12, 8, 12, 6, 10};
    for (int i = 0; i < 5; ++i) {
        const int w = widths[i];
        const int x = align == 0 ? 2 : align == 1 ? 8 - w / 2 : 14 - w;
        p.drawLine(x, 3 + 2 * i + i / 2, x + w, 3 + 2 * i + i / 2);
    }
}

void draw(QPainter& p, const QString& name) {
    p.setRenderHint(QPainter::Antialiasing);
    if (name == QLatin1String("nouveau")) {
        page(p, 3, 1, 10, 14);
    } else if (name == QLatin1String("ouvrir")) {
        p.setPen(QColor(128, 96, 0));
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(1, 4, 13, 10);
        p.drawRect(1, 2, 6, 3);
    } else if (name == QLatin1String("sauver")) {
        p.setPen(QColor(0, 0, 80));
        p.setBrush(QColor(40, 70, 160));
        p.drawRect(1, 1, 14, 14);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 8, 5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(5, 10, 6, 5);
    } else if (name == QLatin1String("preferences")) {
        glyph(p, QString(QChar(0x2699)), QColor(64, 64, 64), 15);
    } else if (name == QLatin1String("couper")) {
        glyph(p, QString(QChar(0x2702)), QColor(0, 0, 0), 14);
    } else if (name == QLatin1String("copier")) {
        page(p, 1, 1, 9, 11);
        page(p, 6, 4, 9, 11);
    } else if (name == QLatin1String("coller")) {
        p.setPen(QColor(96, 64, 0));
        p.setBrush(QColor(180, 130, 60));
        p.drawRect(2, 2, 11, 13);
        page(p, 6, 6, 9, 9);
    } else if (name == QLatin1String("undo")) {
        glyph(p, QString(QChar(0x21B6)), QColor(0, 0, 128), 15, true);
    } else if (name == QLatin1String("taille")) {
        glyph(p, QStringLiteral("aA"), QColor(0, 0, 128), 11, true);
    } else if (name == QLatin1String("gauche")) {
        lines(p, 0);
    } else if (name == QLatin1String("centre")) {
        lines(p, 1);
    } else if (name == QLatin1String("droite")) {
        lines(p, 2);
    } else if (name == QLatin1String("couleur")) {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRect(0, -2, 16, 14), Qt::AlignCenter, QStringLiteral("A"));
        p.fillRect(2, 12, 12, 3, QColor(220, 0, 0));
    } else if (name == QLatin1String("nobal")) {
        glyph(p, QStringLiteral("<>"), QColor(0, 0, 128), 10, true);
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawLine(3, 13, 13, 3);
    } else if (name == QLatin1String("top")) {
        p.setPen(QColor(96, 0, 0));
        p.setBrush(QColor(220, 30, 30));
        p.drawEllipse(4, 1, 8, 7);
        p.setPen(QPen(QColor(64, 64, 64), 2));
        p.drawLine(8, 8, 8, 15);
    } else if (name == QLatin1String("apercu")) {
        p.setPen(QColor(0, 0, 96));
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 14, 12);
        p.fillRect(2, 3, 13, 3, QColor(0, 0, 160));
        p.setPen(QColor(0, 128, 0));
        p.drawEllipse(5, 7, 6, 6);
    } else if (name == QLatin1String("clipboard")) {
        p.setPen(QColor(96, 64, 0));
        p.setBrush(QColor(180, 130, 60));
        p.drawRect(2, 2, 12, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 5, 8, 8);
        p.setPen(QPen(QColor(0, 0, 160), 2));
        p.drawLine(6, 9, 10, 9);
    } else if (name == QLatin1String("copieimage")) {
        // A picture over a copied page.
        page(p, 1, 1, 9, 11);
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(150, 200, 250));
        p.drawRect(5, 6, 10, 9);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 150, 40));
        p.drawPolygon(QPolygon({QPoint(6, 14), QPoint(9, 9), QPoint(13, 14)}));
    } else if (name == QLatin1String("image")) {
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(150, 200, 250));
        p.drawRect(1, 2, 14, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 220, 0));
        p.drawEllipse(10, 4, 4, 4);
        p.setBrush(QColor(40, 150, 40));
        p.drawPolygon(QPolygon({QPoint(2, 13), QPoint(6, 7), QPoint(11, 13)}));
    } else if (name == QLatin1String("son")) {
        glyph(p, QString(QChar(0x266A)), QColor(128, 0, 128), 15, true);
    } else if (name == QLatin1String("lien")) {
        p.setPen(QPen(QColor(0, 0, 160), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(1, 5, 8, 6);
        p.drawEllipse(7, 5, 8, 6);
    } else if (name == QLatin1String("effets")) {
        glyph(p, QStringLiteral("Ab"), QColor(160, 0, 80), 11, true, true);
    } else if (name == QLatin1String("signature")) {
        glyph(p, QString(QChar(0x270D)), QColor(0, 0, 0), 14);
    } else if (name == QLatin1String("scrolling")) {
        glyph(p, QString(QChar(0x21C6)), QColor(0, 96, 0), 15, true);
    } else if (name == QLatin1String("vagues")) {
        glyph(p, QString(QChar(0x223F)), QColor(0, 64, 192), 16, true);
    } else if (name == QLatin1String("degrade")) {
        QLinearGradient g(0, 0, 16, 0);
        g.setColorAt(0, Qt::red);
        g.setColorAt(1, Qt::yellow);
        p.setPen(QColor(64, 64, 64));
        p.setBrush(g);
        p.drawRect(1, 3, 14, 10);
    } else if (name == QLatin1String("code")) {
        glyph(p, QStringLiteral("</>"), QColor(0, 0, 128), 8, true);
    } else if (name == QLatin1String("predefinis")) {
        glyph(p, QString(QChar(0x2630)), QColor(0, 0, 128), 14);
    } else if (name == QLatin1String("aide")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 64, 192));
        p.drawEllipse(1, 1, 14, 14);
        glyph(p, QStringLiteral("?"), Qt::white, 12, true);
    } else if (name == QLatin1String("liste-nouv")) {
        page(p, 3, 1, 10, 14);
        glyph(p, QStringLiteral("+"), QColor(0, 128, 0), 12, true);
    } else if (name == QLatin1String("liste-eff")) {
        page(p, 3, 1, 10, 14);
        glyph(p, QStringLiteral("x"), QColor(200, 0, 0), 12, true);
    } else if (name == QLatin1String("liste-ren")) {
        page(p, 3, 1, 10, 14);
        glyph(p, QStringLiteral("a"), QColor(0, 0, 160), 11, true);
    } else if (name == QLatin1String("liste-voir")) {
        glyph(p, QString(QChar(0x2637)), QColor(0, 96, 0), 14);
    } else if (name == QLatin1String("capture")) {
        glyph(p, QString(QChar(0x2316)), QColor(160, 0, 0), 15, true);
    } else if (name == QLatin1String("url-add")) {
        glyph(p, QStringLiteral("+"), QColor(0, 128, 0), 16, true);
    } else if (name == QLatin1String("url-supp")) {
        glyph(p, QString(QChar(0x2212)), QColor(200, 0, 0), 16, true);
    } else if (name == QLatin1String("url-inser")) {
        glyph(p, QString(QChar(0x21B5)), QColor(0, 0, 160), 15, true);
    } else if (name == QLatin1String("fermer")) {
        glyph(p, QString(QChar(0x2715)), QColor(128, 0, 0), 13, true);
    }
}

} // namespace

QIcon toolbarIcon(const QString& name) {
    return QIcon(new DrawnIcon([name](QPainter& p, QIcon::State) { draw(p, name); }, 16));
}

QIcon appIcon() {
    // The same picture as the menu entry's icon, drawn from its SVG source.
    return QIcon(new DrawnIcon(
        [](QPainter& p, QIcon::State) {
            QSvgRenderer svg(QStringLiteral(":/icons/zelkohtml.svg"));
            svg.render(&p, QRectF(0, 0, 32, 32));
        },
        32));
}

QPixmap appLogo() {
    return appIcon().pixmap(QSize(32, 32), qApp->devicePixelRatio());
}

QIcon checkMarkIcon() {
    return QIcon(new DrawnIcon(
        [](QPainter& p, QIcon::State state) {
            if (state != QIcon::On)
                return;
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Qt::black, 2));
            p.drawPolyline(QPolygon({QPoint(3, 8), QPoint(6, 12), QPoint(13, 4)}));
        },
        16));
}

QPixmap gradientText(const QString& text, const QFont& font, const QColor& from, const QColor& to,
                     const QColor& border, bool outlineOnly, int shadow) {
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(text) + 6 + shadow;
    const int h = fm.height() + 4 + shadow;
    // As many device pixels as the screen has: the painter draws in pixels all the same.
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pm(QSize(w, h) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addText(2, 2 + fm.ascent(), font, text);
    if (shadow > 0)
        p.fillPath(path.translated(shadow, shadow), QColor(128, 128, 128));
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    if (outlineOnly) {
        p.setPen(QPen(QBrush(g), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    } else {
        p.setPen(QPen(border, 1));
        p.setBrush(g);
        p.drawPath(path);
    }
    return pm;
}

} // namespace zk::platform
