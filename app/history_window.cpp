#include "app/history_window.h"

#include "app/spoken_names.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/printer.h"
#include "app/printer_output.h"
#include "errors/errors.h"
#include "render/qt_canvas.h"
#include "render/reference_page.h"
#include "requests/requests.h"
#include "worksheet/diagnosis.h"
#include "worksheet/operations.h"
#include "worksheet/text_to_int.h"
#include "worksheet/utf8.h"

namespace {

constexpr int kBatch = 100;

}  // namespace

THistoryModel::THistoryModel(THistory& history, QObject* parent) : QAbstractTableModel(parent), history_(history) {}

void THistoryModel::SetNumberFilter(std::optional<int32_t> number, bool nothing)
{
    number_ = number;
    nothing_ = nothing;
    Reload();
}

void THistoryModel::Reload()
{
    beginResetModel();
    rows_.clear();
    complete_ = false;
    endResetModel();
    fetchMore({});
}

int64_t THistoryModel::IdAt(int row) const
{
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(row)].Id : 0;
}

int THistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int THistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 5;
}

QString DestinationShown(const std::string& destination)
{
    // A file: its name first, then its folder; a printer: its name.
    const QString where = QString::fromStdString(ShownBytes(destination));
    if (!where.startsWith(QLatin1Char('/'))) return where;
    const QFileInfo file(where);
    return QStringLiteral("%1（%2）").arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
}

QVariant THistoryModel::data(const QModelIndex& index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid()) return {};
    const THistorySheet& sheet = rows_.at(static_cast<size_t>(index.row()));
    if (role == Qt::ToolTipRole) return index.column() == 4 ? QString::fromStdString(ShownBytes(sheet.Destination)) : QVariant();
    switch (index.column()) {
    case 0: return QDateTime::fromSecsSinceEpoch(sheet.RecordedAt).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    case 1: return QStringLiteral("No.%1").arg(sheet.Number);
    case 2: return QString::fromStdString(sheet.Summary);
    case 3: return sheet.WithAnswers ? QStringLiteral("答えつき") : QStringLiteral("問題のみ");
    default: return DestinationShown(sheet.Destination);
    }
}

QVariant THistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    const char* const titles[] = {"日時", "番号", "内容", "答え", "行き先"};
    return QString::fromUtf8(titles[section]);
}

bool THistoryModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !complete_;
}

void THistoryModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || complete_) return;
    if (nothing_) {
        complete_ = true;
        return;
    }
    // Page by key: the next rows are those recorded before the last one shown.
    const std::optional<int64_t> before = rows_.empty() ? std::nullopt : std::optional<int64_t>(rows_.back().Id);
    std::vector<THistorySheet> more = history_.ListBefore(kBatch, before, number_);
    complete_ = more.size() < static_cast<size_t>(kBatch);
    if (more.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    for (THistorySheet& sheet : more) rows_.push_back(std::move(sheet));
    endInsertRows();
}

TSheetPreview::TSheetPreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SheetPreview"));
    setFixedSize(kReferenceWidth, kReferenceHeight);
}

void TSheetPreview::SetSheet(std::optional<TReopenedSheet> sheet)
{
    sheet_ = std::move(sheet);
    update();
}

void TSheetPreview::paintEvent(QPaintEvent*)
{
    if (!sheet_) return;
    QPainter painter(this);
    TQtCanvas canvas(painter);
    RunGuarded([&] { DrawSheetPage(canvas, kReferenceWidth, kReferenceHeight, sheet_->View, sheet_->Sheet, true); });
}

THistoryWindow::THistoryWindow(QWidget* owner, THistory& history, THistoryActions callbacks)
    : QDialog(owner), callbacks_(std::move(callbacks)), history_(history), model_(new THistoryModel(history, this))
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("履歴"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* searchRow = new QHBoxLayout;
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("Search"));
    search_->setPlaceholderText(QStringLiteral("プリント番号"));
    auto* searchLabel = new QLabel(QStringLiteral("番号で探す(&S):"), this);
    searchLabel->setBuddy(search_);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search_);
    left->addLayout(searchRow);
    searchStatus_ = new QLabel(this);
    searchStatus_->setObjectName(QStringLiteral("SearchStatus"));
    left->addWidget(searchStatus_);

    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("List"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setWordWrap(false);
    list_->setColumnWidth(0, 130);
    list_->setColumnWidth(1, 70);
    list_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    list_->setMinimumWidth(720);
    left->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, const char*> actions[] = {
        {"btnPrintProblems", "問題を印刷(&P)"}, {"btnPrintAnswers", "答えを印刷(&A)"}, {"btnSavePdf", "PDFに保存(&F)"},
        {"btnUseSettings", "この設定を使う(&U)"}, {"btnEnterAnswers", "答えを入れる(&I)…"}, {"btnDelete", "削除(&D)"}};
    const std::vector<void (THistoryWindow::*)()> handlers = {
        &THistoryWindow::PrintProblemsClick, &THistoryWindow::PrintAnswersClick, &THistoryWindow::SavePdfClick,
        &THistoryWindow::UseSettingsClick, &THistoryWindow::EnterAnswersClick, &THistoryWindow::DeleteClick};
    for (size_t i = 0; i < handlers.size(); ++i) {
        auto* button = new QPushButton(QString::fromUtf8(actions[i].second), this);
        button->setObjectName(QString::fromUtf8(actions[i].first));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, handler = handlers[i]] { RunGuarded([&] { (this->*handler)(); }); });
        buttons->addWidget(button);
        actions_.push_back(button);
    }
    left->addLayout(buttons);
    layout->addLayout(left);
    preview_ = new TSheetPreview(this);
    layout->addWidget(preview_);

    connect(search_, &QLineEdit::textChanged, this, [this] { SearchChanged(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { SelectionChanged(); });
    model_->Reload();
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SelectionChanged(); });
    SelectRow(0);
    list_->setAccessibleName(QStringLiteral("履歴の一覧"));
    preview_->setAccessibleName(QStringLiteral("選んだプリントの答え"));
    NameForScreenReaders(this);
}

void THistoryWindow::SearchChanged()
{
    // Full-width digits (１２) are the number they show.
    const QString typed = search_->text().normalized(QString::NormalizationForm_KC).trimmed();
    std::optional<int32_t> number;
    bool nothing = false;
    if (!typed.isEmpty()) {
        try {
            number = TextToInt(typed.toStdString());
        } catch (const EConvertError&) {
            nothing = true;  // not a number: it says so, and lists nothing
        }
    }
    searchStatus_->setText(nothing ? QStringLiteral("「%1」はプリント番号ではありません").arg(search_->text()) : QString());
    model_->SetNumberFilter(number, nothing);
    SelectRow(0);
}

void THistoryWindow::SelectRow(int row)
{
    if (row >= 0 && row < model_->rowCount()) list_->selectRow(row);
    SelectionChanged();
}

std::optional<THistorySheet> THistoryWindow::Selected() const
{
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return history_.Find(model_->IdAt(rows.front().row()));
}

std::optional<TReopenedSheet> THistoryWindow::SelectedSheet() const
{
    const std::optional<THistorySheet> recorded = Selected();
    if (!recorded) return std::nullopt;
    return ReopenSheet(*recorded);
}

void THistoryWindow::SelectionChanged()
{
    const std::optional<THistorySheet> recorded = Selected();
    std::optional<TReopenedSheet> sheet;
    QString why;
    if (recorded) {
        try {
            sheet = ReopenSheet(*recorded);
        } catch (const EUnreadableRecord& e) {
            // Said beside the list; it can still be deleted.
            why = QString::fromStdString(WithFinalPeriod(e.what()));
        }
    }
    for (QPushButton* button : actions_) {
        const QString name = button->objectName();
        button->setEnabled(name == QLatin1String("btnDelete")         ? recorded.has_value()
                           : name == QLatin1String("btnEnterAnswers") ? sheet.has_value() && recorded->Diagnostic
                                                                      : sheet.has_value());
    }
    if (!why.isEmpty() || searchStatus_->property("unreadable").toBool()) searchStatus_->setText(why);
    searchStatus_->setProperty("unreadable", !why.isEmpty());
    preview_->SetSheet(std::move(sheet));
}

void THistoryWindow::Reprint(bool answers)
{
    const std::optional<TReopenedSheet> reopened = SelectedSheet();
    if (!reopened) return;
    TPrinter& printer = Printer();
    TPrinterOutput job(printer, AskBeforeJob(this, printer));
    PutOutPage(reopened->Sheet, answers, job);
}

void THistoryWindow::PrintProblemsClick()
{
    Reprint(false);
}

void THistoryWindow::PrintAnswersClick()
{
    Reprint(true);
}

void THistoryWindow::SavePdfClick()
{
    if (const std::optional<TReopenedSheet> reopened = SelectedSheet()) callbacks_.SavePdf(*reopened);
}

void THistoryWindow::UseSettingsClick()
{
    const std::optional<TReopenedSheet> reopened = SelectedSheet();
    if (!reopened) return;
    callbacks_.UseSettings(reopened->Settings);
}

void THistoryWindow::DeleteClick()
{
    const std::optional<THistorySheet> recorded = Selected();
    if (!recorded) return;
    if (!Dialogs().Confirm(this, ApplicationTitle(),
                           QStringLiteral("No.%1 の記録を履歴から削除しますか？").arg(recorded->Number)))
        return;
    const int row = list_->selectionModel()->selectedRows().front().row();
    history_.Remove(recorded->Id);
    model_->Reload();
    SelectRow(std::min(row, model_->rowCount() - 1));
}

void THistoryWindow::EnterAnswersClick()
{
    const std::optional<THistorySheet> recorded = Selected();
    if (!recorded || !recorded->Diagnostic) return;
    const TSheet sheet = ReopenSheet(*recorded).Sheet;
    const TOperationRules& rules = RulesOf(sheet.Settings.Operation);
    QStringList problems;
    for (const TSheetProblem& p : sheet.Problems)
        problems << QStringLiteral("%1%2%3").arg(p.First).arg(QString::fromUtf8(rules.Sign)).arg(p.Second);
    QStringList& texts = typedAnswers_[recorded->Id];
    const QString caption = QStringLiteral("答えを入れる（診断プリント No.%1）").arg(recorded->Number);
    for (;;) {
        if (!Dialogs().AskAnswers(this, caption, problems, texts)) return;
        // A text that is not an answer is said, and asked again with what was typed.
        std::vector<std::string> typed(static_cast<size_t>(problems.size()));
        for (int k = 0; k < problems.size() && k < texts.size(); ++k) typed[static_cast<size_t>(k)] = texts[k].toStdString();
        try {
            const TAnswersRead read = ReadPupilAnswers(sheet.Settings.Operation, sheet.Problems, typed);
            Dialogs().MessageBox(this, caption, QString::fromStdString(read.Text), TDialogs::TIcon::Information);
            return;
        } catch (const ERefused& e) {
            Dialogs().MessageBox(this, caption, QString::fromStdString(e.what()), TDialogs::TIcon::Warning);
        }
    }
}
