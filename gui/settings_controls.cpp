#include "gui/settings_controls.h"

#include <QGridLayout>
#include <QMouseEvent>

namespace kalvo {

TColourPanel::TColourPanel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    SetColour(0);
}

void TColourPanel::SetColour(TColour colour)
{
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    setPalette(palette);
}

void TColourPanel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void TColourPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && isEnabled())
        emit Clicked();
}

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent)
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    columns = std::max(columns, 1);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        // Items fill the first column top to bottom, then the next.
        layout->addWidget(button, i % rows, i / rows);
        group_.addButton(button, i);
        buttons_.push_back(button);
    }
    connect(&group_, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == itemIndex_)
            return;
        itemIndex_ = id;
        emit Click();
    });
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < 0 || index >= Count())
        index = -1;
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    if (index < 0) {
        // An exclusive group refuses to uncheck its last checked button.
        group_.setExclusive(false);
        for (QRadioButton* button : buttons_)
            button->setChecked(false);
        group_.setExclusive(true);
    } else {
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
    }
    emit Click();
}

} // namespace kalvo
