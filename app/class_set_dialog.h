// The class-set dialog: how many sheets, where they go, in which order, on
// which paper.
#pragma once

#include <QDialog>

#include "sheets/class_set.h"
#include "sheets/sheet_pdf.h"

struct TClassSetRequest {
    int Sheets = 30;                             // 1 to 99
    bool ToPrinter = false;                      // one job on the selected printer, or one PDF
    TAnswerOrder Order = TAnswerOrder::After;    // where the answer sheets go
    TPaper Paper = TPaper::A4;                   // for a PDF
    bool Csv = false;                            // the answers as CSV too, beside the PDF
    bool RollNumbers = false;                    // 出席番号 1, 2, 3 … on the sheets of 大きなマス
};

class QComboBox;
class QRadioButton;
class QSpinBox;

class TClassSetDialog : public QDialog {
public:
    // Shows `request` and changes it when the user presses 作成.
    TClassSetDialog(QWidget* owner, TClassSetRequest& request);

    void accept() override;

private:
    TClassSetRequest& request_;
    QSpinBox* sheets_;
    QRadioButton *toPdf_, *toPrinter_;
    QRadioButton* orders_[3];
    QComboBox* paper_;
    class QCheckBox *csv_, *rollNumbers_;
};
