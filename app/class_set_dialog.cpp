#include "app/class_set_dialog.h"

#include "app/spoken_names.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TClassSetDialog::TClassSetDialog(QWidget* owner, TClassSetRequest& request) : QDialog(owner), request_(request)
{
    setWindowTitle(QStringLiteral("まとめて作成"));
    setObjectName(QStringLiteral("ClassSetDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    sheets_ = new QSpinBox(this);
    sheets_->setObjectName(QStringLiteral("Sheets"));
    sheets_->setRange(1, 99);
    sheets_->setValue(request.Sheets);
    sheets_->setSuffix(QStringLiteral(" 枚"));
    form->addRow(QStringLiteral("枚数(&N):"), sheets_);
    layout->addLayout(form);
    rollNumbers_ = new QCheckBox(QStringLiteral("出席番号 1、2、3 … を順に書く（大きなマス）(&R)"), this);
    rollNumbers_->setObjectName(QStringLiteral("RollNumbers"));
    rollNumbers_->setChecked(request.RollNumbers);
    layout->addWidget(rollNumbers_);

    auto* output = new QGroupBox(QStringLiteral("出力"), this);
    auto* outputLayout = new QVBoxLayout(output);
    toPdf_ = new QRadioButton(QStringLiteral("ひとつの PDF ファイル(&F)"), output);
    toPrinter_ = new QRadioButton(QStringLiteral("選んだプリンタ（ひとつの印刷ジョブ）(&P)"), output);
    (request.ToPrinter ? toPrinter_ : toPdf_)->setChecked(true);
    paper_ = new QComboBox(output);
    paper_->setObjectName(QStringLiteral("Paper"));
    for (TPaper paper : Papers()) paper_->addItem(QString::fromStdString(PaperName(paper)));
    paper_->setCurrentText(QString::fromStdString(PaperName(request.Paper)));
    auto* paperRow = new QFormLayout;
    paperRow->addRow(QStringLiteral("PDF の用紙(&S):"), paper_);
    csv_ = new QCheckBox(QStringLiteral("答えの CSV ファイルも作る(&C)"), output);
    csv_->setObjectName(QStringLiteral("Csv"));
    csv_->setChecked(request.Csv);
    outputLayout->addWidget(toPdf_);
    outputLayout->addLayout(paperRow);
    outputLayout->addWidget(csv_);
    outputLayout->addWidget(toPrinter_);
    connect(toPdf_, &QRadioButton::toggled, paper_, &QWidget::setEnabled);
    connect(toPdf_, &QRadioButton::toggled, csv_, &QWidget::setEnabled);
    paper_->setEnabled(!request.ToPrinter);
    csv_->setEnabled(!request.ToPrinter);
    layout->addWidget(output);

    auto* order = new QGroupBox(QStringLiteral("答えのプリント"), this);
    auto* orderLayout = new QVBoxLayout(order);
    const char* const captions[3] = {"なし（問題のプリントだけ）(&0)", "問題のプリントが全部終わったあとに(&1)",
                                     "問題のプリント１枚ごとに、そのすぐあとに(&2)"};
    for (int i = 0; i < 3; ++i) {
        orders_[i] = new QRadioButton(QString::fromUtf8(captions[i]), order);
        orders_[i]->setChecked(static_cast<int>(request.Order) == i);
        orderLayout->addWidget(orders_[i]);
    }
    layout->addWidget(order);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("作成"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    NameForScreenReaders(this);
}

void TClassSetDialog::accept()
{
    request_.Sheets = sheets_->value();
    request_.ToPrinter = toPrinter_->isChecked();
    for (int i = 0; i < 3; ++i)
        if (orders_[i]->isChecked()) request_.Order = static_cast<TAnswerOrder>(i);
    request_.Paper = Papers().at(static_cast<size_t>(paper_->currentIndex()));
    request_.Csv = csv_->isChecked() && !request_.ToPrinter;
    request_.RollNumbers = rollNumbers_->isChecked();
    QDialog::accept();
}
