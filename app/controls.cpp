#include "app/controls.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QMetaObject>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <algorithm>

#include "app/application.h"

TBevel::TBevel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void TPaintBox::RepaintNow()
{
    repaint();
    if (pendingError_) {
        std::exception_ptr error = std::exchange(pendingError_, nullptr);
        std::rethrow_exception(error);
    }
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    if (!OnPaint) return;
    try {
        QPainter painter(this);
        OnPaint(painter);
    } catch (...) {
        pendingError_ = std::current_exception();
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!pendingError_) return;  // RepaintNow took it
                std::exception_ptr error = std::exchange(pendingError_, nullptr);
                RunGuarded([&] { std::rethrow_exception(error); });
            },
            Qt::QueuedConnection);
    }
}

TRadioGroup::TRadioGroup(const QString& caption, const std::vector<std::string>& items, QWidget* parent, bool inOneRow)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), inOneRow_(inOneRow)
{
    SetItems(caption, items);
}

void TRadioGroup::SetItems(const QString& caption, const std::vector<std::string>& items)
{
    setTitle(caption);
    while (buttons_.size() > items.size()) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (i == buttons_.size()) {
            auto* button = new QRadioButton(this);
            group_->addButton(button, static_cast<int>(i));
            buttons_.push_back(button);
            connect(button, &QRadioButton::toggled, this, [this] { UpdateTabStop(); });
            button->show();
        }
        buttons_[i]->setText(QString::fromStdString(items[i]));
        // Heard with its group: "枠の有無 なし", not a bare "なし".
        buttons_[i]->setAccessibleName(caption + QLatin1Char(' ') + QString::fromStdString(items[i]));
    }
    if (!buttons_.empty()) buttons_.front()->setChecked(true);
    // A group not given its size yet is laid out when it is; items put in
    // later are written smaller where they do not fit.
    if (testAttribute(Qt::WA_Resized)) {
        FitItems();
        LayoutItems();
    }
    UpdateTabStop();
}

int TRadioGroup::ItemIndex() const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(buttons_.size())) buttons_[static_cast<size_t>(index)]->setChecked(true);
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    LayoutItems();
}

void TRadioGroup::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) LayoutItems();
}

void TRadioGroup::FitItems()
{
    // An item's width: the indicator, its spacing and the text.
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) +
                          style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this) + 4;
    auto widest = [&](const QFont& itemFont) {
        const QFontMetrics metrics(itemFont);
        int width = 0;
        for (QRadioButton* button : buttons_) width = std::max(width, indicator + metrics.horizontalAdvance(button->text()));
        return width;
    };
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect contents = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this);
    const int room = inOneRow_ ? QWIDGETSIZE_MAX : contents.right() - contents.left() - 4;
    QFont itemFont = font();
    while (widest(itemFont) > room && itemFont.pixelSize() > 9) itemFont.setPixelSize(itemFont.pixelSize() - 1);
    for (QRadioButton* button : buttons_) button->setFont(itemFont == font() ? QFont() : itemFont);
}

// The items share the height below the caption evenly, one column wide, or
// stand side by side.
void TRadioGroup::LayoutItems()
{
    if (buttons_.empty()) return;
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect contents = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this);
    const int count = static_cast<int>(buttons_.size());
    const int left = contents.left() + 4;
    if (inOneRow_) {
        int at = left;
        for (QRadioButton* button : buttons_) {
            const int width = button->sizeHint().width();
            button->setGeometry(at, contents.top(), width, contents.height());
            at += width + 12;
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        const int top = contents.top() + contents.height() * i / count;
        const int bottom = contents.top() + contents.height() * (i + 1) / count;
        buttons_[static_cast<size_t>(i)]->setGeometry(left, top, contents.right() - left, bottom - top);
    }
}

// Only the selected item takes the focus by Tab; the others are reached with
// the arrow keys or a click.
void TRadioGroup::UpdateTabStop()
{
    for (QRadioButton* button : buttons_)
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}
