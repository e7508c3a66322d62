// The 履歴 window: every recorded sheet, newest first, a search by sheet
// number, a preview of the selected sheet, and reprints that draw exactly
// the recorded problems.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include <optional>
#include <vector>

#include "history/history.h"
#include "render/page_layout.h"
#include "sheets/made_sheet.h"

class QLineEdit;
class QPushButton;
class QTableView;
class TForm1;

// The recorded sheets, fetched a screenful at a time as the list scrolls.
class THistoryModel : public QAbstractTableModel {
public:
    THistoryModel(THistory& history, QObject* parent);

    // Shows only the sheets with that number (all of them for none).
    void SetNumberFilter(std::optional<int32_t> number);
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
    std::vector<THistorySheet> rows_;
    bool complete_ = false;
};

// A recorded sheet drawn by the page layout at the preview's size, with its
// answers.
class TSheetPreview : public QWidget {
public:
    explicit TSheetPreview(QWidget* parent);
    void SetSheet(std::optional<TMadeSheet> sheet, const TPageView& view);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<TMadeSheet> sheet_;
    TPageView view_;
};

class THistoryWindow : public QDialog {
public:
    THistoryWindow(TForm1& form, THistory& history);

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

private:
    void SearchChanged();
    void SelectionChanged();
    // The selected sheet with the page view its settings give.
    bool SelectedSheet(TMadeSheet& sheet, TPageView& view, TWorksheetSettings& settings) const;

    TForm1& form_;
    THistory& history_;
    THistoryModel* model_;
    QLineEdit* search_;
    QTableView* list_;
    TSheetPreview* preview_;
    std::vector<QPushButton*> actions_;
};
