// A framed group of radio buttons with one item index, as the preferences use them.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace zk::ui {

class RadioGroup final : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int count() const;
    // The checked item; -1 when none is.
    int itemIndex() const;
    // Checks item index; an index beyond the last item checks the last item, a negative one
    // clears the group.
    void setItemIndex(int index);
    QRadioButton* item(int i) const;

private:
    QButtonGroup* group_ = nullptr;
};

} // namespace zk::ui
