#pragma once

#include "gui/platform.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace kalvo {

// A small sunken panel filled with a colour; a click on it emits Clicked. The settings dialog
// and the template window open the colour dialog from it.
class TColourPanel : public QFrame
{
    Q_OBJECT

public:
    explicit TColourPanel(QWidget* parent = nullptr);

    TColour Colour() const { return colour_; }
    void SetColour(TColour colour);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TColour colour_ = 0;
    bool pressed_ = false;
};

// A framed group of radio buttons laid out in columns, with the index of the chosen item
// (-1: none). Choosing an item, by the user or through SetItemIndex, emits Click once.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns = 1,
                QWidget* parent = nullptr);

    int ItemIndex() const { return itemIndex_; }
    // An index past the last item, or below 0, chooses no item.
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Item(int index) const { return buttons_[static_cast<std::size_t>(index)]; }

signals:
    void Click();

private:
    std::vector<QRadioButton*> buttons_;
    QButtonGroup group_;
    int itemIndex_ = -1;
};

} // namespace kalvo
