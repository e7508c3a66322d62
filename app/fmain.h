// The main window: every control, the start-up values, the blank-digit rule,
// the preview box and the commands behind the buttons.
#pragma once

#include <QString>
#include <QWidget>

#include <map>
#include <optional>
#include <string>

#include "render/canvas.h"
#include "app/shown_sheet.h"
#include "render/page_layout.h"
#include "sheets/paper.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPrinter;
class QPainter;
class QPushButton;
class TPaintBox;
class TPrinter;
class TRadioGroup;
struct TSettingsFile;

// Where TForm1 lives:
//   fmain.cpp          the controls, FormCreate, KuhakuCheck, the settings in
//                      and out of the controls, the focus rules
//   commands.cpp       Preview, the preview box's repaint, Print, Print with
//                      answers, Print setup, the sheet number and the sheet
//                      the window shows
//   menu_commands.cpp  PDF saves, print preview, settings files, presets,
//                      help, the history window
//   class_set_command.cpp  まとめて作成
//   menus.cpp          the menu bar and what enables its commands
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

    // Preview: PrintNumber from PrnNum, a new set of problems (the preview
    // request, with a fresh seed), and the page with answers in the preview
    // box when at least four were found; the status line says its number,
    // count and seed.
    void btnPreviewClick();
    // The sheet shown, as it was made (with its seed); none when nothing is.
    const std::optional<TSheet>& ShownSheet() const { return shown_.Shown(); }
    // Shows a sheet made elsewhere (a diagnostic sheet) as a Preview's sheet
    // is: in the preview box, ready to print and save, with its note.
    void ShowSheet(const TSheet& sheet);
    // 乱数のもとを指定: the seed the teacher types, for the next sheet made
    // (Preview, 診断プリント, まとめて作成): the sheet of that seed, as the page
    // and the command line make it. An empty text takes a fresh seed again.
    void SeedClick();
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
    // Puts every setting that `file` names into its control; the others stay.
    void SetSettings(const TSettingsFile& file);

    // The menu commands. Each runs through the same guarded path as the
    // buttons; a command the user calls off changes nothing.
    // Saves the sheet as a PDF on the paper of the PDF menu (with the answer
    // sheet as page 2), then the next sheet number, as Print does.
    void SavePdfClick(bool withAnswers);
    // Qt's print preview of the problem and answer sheets on the selected
    // printer; printing from it is Print with answers.
    void PrintPreviewClick();
    void OpenSettingsClick();
    void SaveSettingsClick();
    // Every control back to its value at start-up.
    void ResetSettingsClick();
    void PresetClick(size_t index);
    void HelpClick();
    void AboutClick();
    // まとめて作成: the class-set dialog, then the set as one PDF or one job.
    void ClassSetClick();
    // 診断プリント: the operation asked, then a diagnostic sheet shown in the
    // preview, ready to print and save as a Preview's sheet is.
    void DiagnosticClick();
    // 履歴: the history window (one, raised when it is open already).
    void HistoryClick();
    void ReadAnswersClick();
    class THistoryWindow* HistoryWindow() const { return historyWindow_; }

    // While a print job goes out: the busy pointer over the window and
    // 「印刷中…」 in its title; both gone again with false.
    void ShowPrinting(bool printing);
    // The busy pointer and `words` in the title while the window waits (an
    // old history brought up to date); both gone again with empty words.
    void ShowBusy(const QString& words);

    // The paper of saved PDFs, kept while the program runs; the preview of
    // 大きなマス shows a page of it.
    void SetPdfPaper(TPaper paper);

    // 設定 ▸ レイアウト: 標準 (0), or 大きなマス of `cellMM` millimetres; a
    // new layout clears the preview.
    void SetLayout(int32_t cellMM);
    // 設定 ▸ 大きなマスの問題数: 6, 8, 9, 12 or 16 (12 and 16 are the
    // problem-count group's too).
    void SetProblemCount(int32_t count);
    // 設定 ▸ 大きなマスの数字の書体.
    void SetDigitFont(const std::string& face);

    // The 計算 menu: the operation the controls and every new sheet are of.
    // Choosing another one shows its title, sign and patterns (the first
    // one selected) and clears the preview; every box keeps its text, but
    // that a division takes no divisor hundreds or thousands (0～0, disabled)
    // and shows its remainder choice (rgAmari).
    void SetOperation(TOperation operation);
    TOperation Operation() const { return operation_; }
    // The 計算 menu's item of an operation: "actMultiplication", ...
    static std::string OperationActionName(TOperation operation);
    // 設定 ▸ 答えに補助数字を書く: answer sheets show the small carry and
    // borrow marks.
    // The band of the decimal places' boxes shown or hidden, the controls
    // below it moved to make room.
    void ShowDecimalPlaces(bool shown);
    bool CarryMarks() const;
    void SetCarryMarks(bool marks);

    // A menu action by its object name (null when there is none).
    QAction* Action(const std::string& name) const;

    // The values a page reads from the window, read now: the size of
    // PaintBox1, the text of QstSentence and the item index of rgWaku.
    TPageView PageView() const;

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
    QMenuBar* MenuBar = nullptr;
    // The laid-out 734 × 495 area below the menu bar that holds the controls.
    QWidget* ClientArea = nullptr;
    // Below it: the sheet shown, its problems and its seed.
    QLabel* StatusLine = nullptr;
    static constexpr int32_t kStatusLineHeight = 22;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    // Every box's spoken name, for the operation of the moment.
    void NameBoxesForScreenReaders();
    void BuildMenus();
    void ConnectHandlers();
    // Enables or disables the print buttons and every menu command that
    // needs a sheet.
    void SetPrintingEnabled(bool enabled);
    // Asks for the name of a file to write, proposing `fileName` in the last
    // folder used; asks before replacing a file. Raises EAbort when the user
    // calls it off.
    QString AskFileToWrite(const QString& caption, const QString& fileName, const QString& filter,
                           const QString& suffix);
    // The sheet a command makes: the shown sheet with the number of the box
    // (converted once, by the owner of the shown sheet).
    TSheet SheetToMake();
    // The problem sheet and the answer sheet of `sheet` on `printer` (a preview).
    void PaintSheetsOn(QPrinter& printer, const TSheet& sheet);
    // The beep and the shortfall warning box.
    void ShowShortfallWarning();
    // Preview with the sheets of `seed`.
    void PreviewWithSeed(uint64_t seed);
    // The seed the teacher gave for the next sheet (used up), or a fresh one.
    uint64_t TakeSeed();
    void PrintSheets(bool withAnswers);
    // Every command that gives out a number first refuses, with
    // "現在印刷中です", while a print job goes out.
    void RefuseWhilePrinting() const;
    // After sheet `printed` went out: PrintNumber := NextNumber(printed),
    // written into PrnNum and shown at once; but the box is left as it is
    // when it no longer holds `boxText`, what it held when the command began
    // (the teacher wrote a new number while the job went out).
    void AdvanceSheetNumber(int32_t printed, const QString& boxText);

    // Nothing in the preview box, and nothing to print until the next Preview.
    void ClearPreview();

    // Set while the Preview command draws the box itself.
    bool drawingPreview_ = false;
    // The seed the teacher gave for the next sheet made.
    std::optional<uint64_t> nextSeed_;
    TOperation operation_ = TOperation::Multiplication;

    std::map<std::string, QWidget*> controls_;
    std::map<std::string, QAction*> actions_;
    TPaper pdfPaper_ = TPaper::A4;
    int32_t cellMM_ = 0;
    int32_t problems_ = 12;
    std::string digitFont_ = kDigitFonts[0].Face;
    // The sheet the window shows and the number it goes on with.
    TShownSheet shown_;
    // What the second number's unused places held before an operation that
    // does not have them was chosen.
    std::map<std::string, QString> placesBefore_;
    class THistoryWindow* historyWindow_ = nullptr;
    QString lastFolder_;
    bool shownOnce_ = false;
};
