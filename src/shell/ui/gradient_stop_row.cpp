#include "gradient_stop_row.h"

#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include "colors.h"
#include "dialogs.h"

namespace zk::ui {
namespace {

constexpr int kStopWidth = 28;
constexpr int kStopStep = 32;

QToolButton* makeButton(QWidget* parent, const QString& name, const QString& tip, int x,
                        int width) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setGeometry(x, 0, width, GradientStopRow::kHeight);
    return b;
}

// A swatch of the colour with a dark frame, so that white shows on a light button.
QIcon swatchIcon(Color colour, const QSize& size) {
    QPixmap picture(size);
    picture.fill(toQColor(colour));
    QPainter p(&picture);
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(picture);
}

} // namespace

GradientStopRow::GradientStopRow(QWidget* parent) : QWidget(parent) {
    resize(kWidth, kHeight);
    for (std::size_t k = 0; k < kMaxGradientStops; ++k) {
        const int n = static_cast<int>(k) + 1;
        QToolButton* b = makeButton(this, QStringLiteral("BoutCoulDeg%1").arg(k),
                                    QStringLiteral("Couleur %1 du dégradé").arg(n),
                                    kStopStep * n - kStopStep, kStopWidth);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setIconSize(QSize(kStopWidth - 8, kHeight - 8));
        connect(b, &QToolButton::clicked, this, [this, k] { BoutCoulDegClick(k); });
        buttons_[k] = b;
    }
    const int plus = kStopStep * static_cast<int>(kMaxGradientStops);
    BoutCoulPlus =
        makeButton(this, QStringLiteral("BoutCoulPlus"),
                   QStringLiteral("Ajouter une couleur après celle choisie"), plus, kHeight);
    BoutCoulPlus->setText(QStringLiteral("+"));
    BoutCoulMoins =
        makeButton(this, QStringLiteral("BoutCoulMoins"),
                   QStringLiteral("Retirer la couleur choisie"), plus + kHeight + 4, kHeight);
    BoutCoulMoins->setText(QString(QChar(0x2212)));
    connect(BoutCoulPlus, &QToolButton::clicked, this, &GradientStopRow::BoutCoulPlusClick);
    connect(BoutCoulMoins, &QToolButton::clicked, this, &GradientStopRow::BoutCoulMoinsClick);
    setStops({kDefaultGradientStops.begin(), kDefaultGradientStops.end()}, 0);
}

void GradientStopRow::setStops(const std::vector<Color>& stops, std::size_t selected) {
    stops_.assign(stops.begin(), stops.begin() + static_cast<std::ptrdiff_t>(
                                                     std::min(stops.size(), kMaxGradientStops)));
    if (stops_.empty())
        stops_.assign(kDefaultGradientStops.begin(), kDefaultGradientStops.end());
    while (stops_.size() < kMinGradientStops)
        stops_.push_back(stops_.front());
    selected_ = std::min(selected, stops_.size() - 1);
    showStops();
}

void GradientStopRow::showStops() {
    for (std::size_t k = 0; k < kMaxGradientStops; ++k) {
        QToolButton* b = buttons_[k];
        const bool shown = k < stops_.size();
        b->setVisible(shown);
        if (!shown)
            continue;
        b->setIcon(swatchIcon(stops_[k], b->iconSize()));
        b->setProperty("Colour", static_cast<int>(stops_[k]));
        b->setChecked(k == selected_);
    }
    BoutCoulPlus->setEnabled(stops_.size() < kMaxGradientStops);
    BoutCoulMoins->setEnabled(stops_.size() > kMinGradientStops);
}

void GradientStopRow::BoutCoulDegClick(std::size_t k) {
    if (k >= stops_.size())
        return;
    const bool moved = k != selected_;
    selected_ = k;
    showStops();
    const auto chosen = zk::platform::dialogs().chooseColor(window(), toQColor(stops_[k]));
    if (chosen)
        stops_[k] = fromQColor(*chosen);
    showStops();
    if (moved || chosen)
        emit stopsChanged();
}

void GradientStopRow::BoutCoulPlusClick() {
    if (stops_.size() >= kMaxGradientStops)
        return;
    Color added = stops_[selected_];
    if (selected_ + 1 < stops_.size()) {
        // The middle of three letters over the two neighbours is halfway between them.
        GradientOptions two;
        two.type = GradientType::Multicolour;
        two.blend = blend_;
        two.setStops({stops_[selected_], stops_[selected_ + 1]});
        added = GradientRow(FormattingState{}, two, 3)[1];
    }
    ++selected_;
    stops_.insert(stops_.begin() + static_cast<std::ptrdiff_t>(selected_), added);
    showStops();
    emit stopsChanged();
}

void GradientStopRow::BoutCoulMoinsClick() {
    if (stops_.size() <= kMinGradientStops)
        return;
    stops_.erase(stops_.begin() + static_cast<std::ptrdiff_t>(selected_));
    selected_ = std::min(selected_, stops_.size() - 1);
    showStops();
    emit stopsChanged();
}

} // namespace zk::ui
