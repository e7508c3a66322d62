#include "app/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>

#include <vector>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "app/file_names.h"
#include "app/application.h"
#include "app/class_set_dialog.h"
#include "errors/errors.h"
#include "sheets/whole_file.h"

namespace {

class TQtProgress : public TProgress {
public:
    TQtProgress(QWidget* owner, const QString& text, int total)
        : dialog_(text, QStringLiteral("キャンセル"), 0, total, owner)
    {
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(400);
        dialog_.setValue(0);
    }
    bool Step(int done) override
    {
        dialog_.setValue(done);
        return !dialog_.wasCanceled();
    }

private:
    QProgressDialog dialog_;
};

// A dialog's buttons at the foot of `layout`: `ok` accepts, キャンセル rejects.
void AddButtons(QDialog& dialog, QVBoxLayout& layout, const QString& ok)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(ok);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
}

class TQtDialogs : public TDialogs {
public:
    void Beep() override { QApplication::beep(); }

    void MessageBox(QWidget* owner, const QString& caption, const QString& text, TIcon icon) override
    {
        const QMessageBox::Icon shown = icon == TIcon::Warning    ? QMessageBox::Warning
                                        : icon == TIcon::Critical ? QMessageBox::Critical
                                                                  : QMessageBox::Information;
        QMessageBox box(shown, caption, text, QMessageBox::Ok, owner);
        // File names and typed texts are shown as they are, never as markup.
        box.setTextFormat(Qt::PlainText);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    }

    bool Confirm(QWidget* owner, const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
        box.setTextFormat(Qt::PlainText);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    bool PrinterSetup(QWidget* owner, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted;
    }

    QString SaveFileName(QWidget* owner, const QString& caption, const QString& proposed, const QString& filter) override
    {
        return QFileDialog::getSaveFileName(owner, caption, proposed, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }

    QString OpenFileName(QWidget* owner, const QString& caption, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(owner, caption, folder, filter);
    }

    QStringList OpenFileNames(QWidget* owner, const QString& caption, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileNames(owner, caption, folder, filter);
    }

    bool AskReadAnswer(QWidget* owner, const QImage& picture, const QString& label, QString& text) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(QStringLiteral("読み取れなかった答え"));
        auto* layout = new QVBoxLayout(&dialog);
        auto* cells = new QLabel(&dialog);
        cells->setObjectName(QStringLiteral("Picture"));
        cells->setPixmap(QPixmap::fromImage(picture));
        cells->setAccessibleName(QStringLiteral("書かれた答えの画像"));
        auto* words = new QLabel(label + QStringLiteral("\n書かれている答えを入れてください（空らんなら何も入れません）。"), &dialog);
        auto* box = new QLineEdit(text, &dialog);
        box->setObjectName(QStringLiteral("Text"));
        box->setAccessibleName(label);
        box->selectAll();
        words->setBuddy(box);
        layout->addWidget(cells);
        layout->addWidget(words);
        layout->addWidget(box);
        AddButtons(dialog, *layout, QStringLiteral("次へ"));
        if (dialog.exec() != QDialog::Accepted) return false;
        text = box->text();
        return true;
    }

    void ShowClassResults(QWidget* owner, const QString& caption, const QStringList& header,
                          const std::vector<QStringList>& rows, const QString& footer,
                          const std::vector<std::pair<QString, std::function<void()>>>& actions) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(caption);
        dialog.resize(760, 520);
        auto* layout = new QVBoxLayout(&dialog);
        auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(header.size()), &dialog);
        table->setObjectName(QStringLiteral("ClassTable"));
        table->setAccessibleName(caption);
        table->setHorizontalHeaderLabels(header);
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size() && c < header.size(); ++c)
                table->setItem(static_cast<int>(r), c, new QTableWidgetItem(rows[r][c]));
        table->resizeColumnsToContents();
        layout->addWidget(table);
        auto* words = new QLabel(footer, &dialog);
        words->setWordWrap(true);
        layout->addWidget(words);
        auto* buttons = new QDialogButtonBox(&dialog);
        for (const auto& [name, run] : actions) {
            QPushButton* button = buttons->addButton(name, QDialogButtonBox::ActionRole);
            QObject::connect(button, &QPushButton::clicked, &dialog, [run = run] { run(); });
        }
        QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
        QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        dialog.exec();
    }

    bool PrintPreview(QWidget* owner, QPrinter& printer, const std::function<void(QPrinter&)>& paintPages) override
    {
        QPrintPreviewDialog dialog(&printer, owner);
        bool printAsked = false;
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
            // The preview draws into pictures; a request on the printer's own
            // engine is the dialog's print button.
            if (target->paintEngine() && target->paintEngine()->type() == QPaintEngine::Picture)
                paintPages(*target);
            else
                printAsked = true;
        });
        dialog.exec();
        return printAsked;
    }

    bool AskClassSet(QWidget* owner, TClassSetRequest& request) override
    {
        TClassSetDialog dialog(owner, request);
        return dialog.exec() == QDialog::Accepted;
    }

    std::unique_ptr<TProgress> StartProgress(QWidget* owner, const QString& text, int total) override
    {
        return std::make_unique<TQtProgress>(owner, text, total);
    }

    int ChooseItem(QWidget* owner, const QString& caption, const QString& label, const QStringList& items, int current) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(caption);
        auto* layout = new QVBoxLayout(&dialog);
        auto* text = new QLabel(label, &dialog);
        auto* list = new QListWidget(&dialog);
        list->setObjectName(QStringLiteral("Choices"));
        list->setAccessibleName(label);
        list->addItems(items);
        list->setCurrentRow(current);
        text->setBuddy(list);
        layout->addWidget(text);
        layout->addWidget(list);
        AddButtons(dialog, *layout, QStringLiteral("OK"));
        QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
        return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
    }

    bool AskText(QWidget* owner, const QString& caption, const QString& label, QString& text) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(caption);
        auto* layout = new QVBoxLayout(&dialog);
        auto* words = new QLabel(label, &dialog);
        auto* box = new QLineEdit(text, &dialog);
        box->setObjectName(QStringLiteral("Text"));
        box->setAccessibleName(label);
        words->setBuddy(box);
        layout->addWidget(words);
        layout->addWidget(box);
        AddButtons(dialog, *layout, QStringLiteral("OK"));
        if (dialog.exec() != QDialog::Accepted) return false;
        text = box->text();
        return true;
    }

    bool AskAnswers(QWidget* owner, const QString& caption, const QStringList& problems, QStringList& answers) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(caption);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("子どもが書いた答えを入れてください。書いていない問題は空らんのままにします。\n"
                                                    "わり算のあまりは「21あまり1」のように入れます。"),
                                     &dialog));
        auto* form = new QFormLayout;
        std::vector<QLineEdit*> boxes;
        for (int k = 0; k < problems.size(); ++k) {
            auto* box = new QLineEdit(k < answers.size() ? answers[k] : QString(), &dialog);
            box->setObjectName(QStringLiteral("Answer%1").arg(k + 1));
            box->setAccessibleName(QStringLiteral("%1問目 %2 の答え").arg(k + 1).arg(problems[k]));
            auto* label = new QLabel(QStringLiteral("%1問目　%2 ＝").arg(k + 1).arg(problems[k]), &dialog);
            label->setBuddy(box);
            form->addRow(label, box);
            boxes.push_back(box);
        }
        layout->addLayout(form);
        AddButtons(dialog, *layout, QStringLiteral("調べる"));
        if (dialog.exec() != QDialog::Accepted) return false;
        answers.clear();
        for (QLineEdit* box : boxes) answers << box->text();
        return true;
    }

    void ShowDocument(QWidget* owner, const QString& caption, const QString& html) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(caption);
        auto* layout = new QVBoxLayout(&dialog);
        auto* text = new QTextBrowser(&dialog);
        text->setObjectName(QStringLiteral("Document"));
        text->setAccessibleName(caption);
        text->setTabChangesFocus(true);
        text->setOpenExternalLinks(false);
        text->setHtml(html);
        // As large as the text needs, up to a long page: a short text (the
        // About box) shows whole and fills its box, without a scroll bar.
        QTextDocument* document = text->document();
        document->setTextWidth(520);
        const int frame = 2 * text->frameWidth() + 2 * static_cast<int>(document->documentMargin());
        const int width = std::min(520, static_cast<int>(std::ceil(document->idealWidth())) + 1);
        document->setTextWidth(width);
        const int height = static_cast<int>(std::ceil(document->size().height())) + 2 * text->frameWidth();
        if (height <= 480) {
            text->setFixedSize(width + frame, height);
            text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        } else {
            text->setMinimumSize(540, 480);
        }
        layout->addWidget(text);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
        buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        dialog.exec();
    }
};

TQtDialogs qtDialogs;
TDialogs* installed = nullptr;

}  // namespace

TDialogs& Dialogs()
{
    return installed ? *installed : qtDialogs;
}

void InstallDialogs(TDialogs* dialogs)
{
    installed = dialogs;
}

void AskBeforeReplacing(QWidget* owner, const QString& path)
{
    CheckFileToWrite(PathBytes(path));
    if (QFileInfo::exists(path) &&
        !Dialogs().Confirm(owner, ApplicationTitle(),
                           QStringLiteral("ファイル「%1」はすでにあります。\n置き換えますか？").arg(path)))
        throw EAbort();
}

TPrintArea AskBeforeJob(QWidget* owner, TPrinter& printer)
{
    const TPrintArea area = PortraitArea(printer);
    if (printer.OutputIsFile()) AskBeforeReplacing(owner, QString::fromStdString(printer.Destination()));
    return area;
}
