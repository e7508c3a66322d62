// The 履歴 window: every recorded sheet, newest first, a search by sheet
// number, a preview of the selected sheet, and reprints that draw exactly
// the recorded problems.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

#include <functional>

#include "history/history.h"
#include "render/page_layout.h"
#include "sheets/recorded_sheet.h"

class QLineEdit;
class QPushButton;
class QTableView;

// What the history window asks of whoever opened it.
struct THistoryActions {
    // Saves the sheet (both its sheets) as a PDF.
    std::function<void(const TReopenedSheet& sheet)> SavePdf;
    // Puts the settings into the window.
    std::function<void(const TSettingsFile& settings)> UseSettings;
};

// The recorded sheets, fetched a screenful at a time as the list scrolls.
// The 行き先 column's text: a file's name, then its folder in brackets (so
// that a long path never hides the name); a printer's name as it is.
QString DestinationShown(const std::string& destination);

class THistoryModel : public QAbstractTableModel {
public:
    THistoryModel(THistory& history, QObject* parent);

    // Shows only the sheets with that number (all of them for none), or no
    // sheet at all with `nothing`.
    void SetNumberFilter(std::optional<int32_t> number, bool nothing = false);
    // Reads the list again from the start.
    void Reload();
    int64_t IdAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    THistory& history_;
    std::optional<int32_t> number_;
    bool nothing_ = false;
    std::vector<THistorySheet> rows_;
    bool complete_ = false;
};

// A recorded sheet drawn by the page layout at the preview's size, with its
// answers.
class TSheetPreview : public QWidget {
public:
    explicit TSheetPreview(QWidget* parent);
    void SetSheet(std::optional<TReopenedSheet> sheet);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<TReopenedSheet> sheet_;
};

class THistoryWindow : public QDialog {
public:
    THistoryWindow(QWidget* owner, THistory& history, THistoryActions actions);

    // The selected sheet, whole; none when nothing is selected.
    std::optional<THistorySheet> Selected() const;
    // Selects the row (0 = newest).
    void SelectRow(int row);
    THistoryModel& Model() { return *model_; }

    void PrintProblemsClick();
    void PrintAnswersClick();
    void SavePdfClick();
    void UseSettingsClick();
    void DeleteClick();
    // A diagnostic sheet ▸ 答えを入れる: a pupil's answers typed in, and the
    // procedure they follow told.
    void EnterAnswersClick();

private:
    void SearchChanged();
    void SelectionChanged();
    // The selected sheet, reopened; none when nothing is selected.
    std::optional<TReopenedSheet> SelectedSheet() const;
    // The selected sheet's problem sheet or answer sheet again, as one job.
    // The window's sheet number does not change.
    void Reprint(bool answers);

    THistoryActions callbacks_;
    THistory& history_;
    THistoryModel* model_;
    QLineEdit* search_;
    class QLabel* searchStatus_;
    QTableView* list_;
    TSheetPreview* preview_;
    std::vector<QPushButton*> actions_;
    // The answers typed for each diagnostic sheet (by id) while the window is open.
    std::map<int64_t, QStringList> typedAnswers_;
};
