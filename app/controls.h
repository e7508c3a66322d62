// The few control kinds of the main window that Qt has no exact match for.
#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QWidget>

#include <exception>
#include <functional>
#include <string>
#include <vector>

class QPainter;
class QButtonGroup;
class QRadioButton;

// A lowered box outline: a frame only, taking no focus.
class TBevel : public QFrame {
public:
    explicit TBevel(QWidget* parent);
};

// A solid black bar with a one-pixel black outline.
class TShape : public QWidget {
public:
    explicit TShape(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The preview box: keeps no picture and paints no background of its own, so
// the window shows through wherever its paint handler draws nothing.
class TPaintBox : public QWidget {
public:
    explicit TPaintBox(QWidget* parent);

    // Called with a painter on the box at every repaint.
    std::function<void(QPainter&)> OnPaint;

    // Repaints now, synchronously; an error the paint handler raised is
    // raised again here, to the caller.
    void RepaintNow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // An error of the paint handler is kept, never thrown out of a paint
    // event: a repaint asked for by the system shows it once painting is over.
    std::exception_ptr pendingError_;
};

// A captioned frame with one column of radio items, exactly one selected. The
// group is one tab stop (its selected item); the arrow keys move the selection.
class TRadioGroup : public QGroupBox {
public:
    // The items stand in one column, or side by side with `inOneRow`.
    TRadioGroup(const QString& caption, const std::vector<std::string>& items, QWidget* parent, bool inOneRow = false);

    int ItemIndex() const;
    void SetItemIndex(int index);
    // New caption and items, the first one selected.
    void SetItems(const QString& caption, const std::vector<std::string>& items);
    const std::vector<QRadioButton*>& Buttons() const { return buttons_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // One column of items sharing the height below the caption, or a row.
    void LayoutItems();
    // Items too long for the width are written smaller until they fit.
    void FitItems();
    void UpdateTabStop();

    QButtonGroup* group_;
    bool inOneRow_;
    std::vector<QRadioButton*> buttons_;
};
