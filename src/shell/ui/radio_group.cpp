#include "radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zk::ui {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items.at(i), this);
        group_->addButton(b, i);
        layout->addWidget(b);
    }
    layout->addStretch();
}

int RadioGroup::count() const {
    return group_->buttons().size();
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (count() == 0)
        return;
    if (index < 0) {
        group_->setExclusive(false);
        for (QAbstractButton* b : group_->buttons())
            b->setChecked(false);
        group_->setExclusive(true);
        return;
    }
    item(index < count() ? index : count() - 1)->setChecked(true);
}

QRadioButton* RadioGroup::item(int i) const {
    return qobject_cast<QRadioButton*>(group_->button(i));
}

} // namespace zk::ui
