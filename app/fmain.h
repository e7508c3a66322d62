// The main window: every control, the start-up values, the blank-digit rule,
// the preview box and the commands behind the buttons.
#pragma once

#include <QWidget>

#include <map>
#include <string>

#include "render/canvas.h"
#include "render/page_layout.h"
#include "worksheet/settings.h"

class QLineEdit;
class QPainter;
class QPushButton;
class TPaintBox;
class TPrinter;
class TRadioGroup;
class TRecordedPage;

class TForm1 : public QWidget {
public:
    // Builds every control from the control table, then runs FormCreate.
    explicit TForm1(QWidget* parent = nullptr);

    // Start-up: the window size, PreviewReady := 0, the random seed,
    // QuestionCount := 0, PrintNumber := TextToInt(PrnNum).
    void FormCreate();

    // Run when the focus leaves a digit box for another control of the
    // window: an empty box gets "0" back; any other text stays.
    void KuhakuCheck(QLineEdit* sender);

    // Preview: PrintNumber from PrnNum, a new set of problems, and the page
    // with answers in the preview box when at least four were found.
    void btnPreviewClick();
    // Print: the problem sheet as one job, then the next sheet number.
    void btnPrintClick();
    // Print with answers: the problem sheet, then the answer sheet, as two
    // jobs with the same number, then the next sheet number.
    void btnPrintWithAnsClick();
    // Print setup: the printer-setup dialog.
    void btnMaintenanceClick();
    // The repaint of the preview box: the stored sheet with answers once a
    // preview has been drawn; nothing generates here.
    void PaintBox1Paint(TCanvas& canvas);

    // The settings as the controls hold them now.
    TWorksheetSettings Settings() const;

    // The values a page reads from the window, read now: the size of
    // PaintBox1, the text of QstSentence and the item index of rgWaku.
    TPageView PageView() const;

    // One figure, with the grid choice of rgWaku as it is now.
    void Hissan(TCanvas& canvas, int32_t x, int32_t y, const std::string& A, const std::string& B,
                const std::string& Op);

    // A whole page W × H device units large, with the window's values as
    // they are at the moment of drawing.
    void MakePrint(TCanvas& canvas, int32_t W, int32_t H);

    // A control by its name (null when there is none).
    QWidget* Control(const std::string& name) const;

    // Controls the commands use.
    QLineEdit *QstSentence = nullptr, *AnsLow = nullptr, *AnsHigh = nullptr, *PrnNum = nullptr;
    TRadioGroup *rgKuriagari = nullptr, *QNumPattern = nullptr, *rgWaku = nullptr;
    QPushButton *btnPreview = nullptr, *btnPrint = nullptr, *btnMaintenance = nullptr,
                *btnPrintWithAns = nullptr, *btnClose = nullptr;
    TPaintBox* PaintBox1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();
    void ShowShortfallWarning();
    void PrintSheets(bool withAnswers);
    // One job of a sheet drawn before; dropped when it fails.
    void PrintRecordedSheet(TPrinter& printer, const TRecordedPage& sheet);
    // PrintNumber := printed + 1, written into PrnNum and shown at once.
    void AdvanceSheetNumber(int32_t printed);

    // Set while the Preview command draws the box itself.
    bool drawingPreview_ = false;

    std::map<std::string, QWidget*> controls_;
    bool shownOnce_ = false;
};
