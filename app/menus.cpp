// The menu bar of the main window, built from tables.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <functional>
#include <vector>

#include "app/application.h"
#include "app/controls.h"
#include "app/fmain.h"
#include "sheets/presets.h"
#include "worksheet/operations.h"
#include "worksheet/settings_fields.h"

namespace {

// One menu item. A null Name is a separator; a Submenu item opens the menu
// the builder fills for it.
struct TMenuEntry {
    const char* Name;
    const char* Caption;
    QKeySequence Shortcut;
    // Disabled, as the print buttons are, until a Preview found four problems.
    bool NeedsSheet;
    std::function<void(TForm1&)> Run;
    const char* Submenu = nullptr;
};

struct TMenu {
    const char* Name;
    const char* Caption;
    std::vector<TMenuEntry> Entries;
};

std::vector<TMenu> Menus()
{
    using K = QKeySequence;
    return {
        {"mnuFile",
         "ファイル(&F)",
         {
             {"actSavePdf", "PDFに保存（問題）(&S)…", K(Qt::CTRL | Qt::Key_S), true, [](TForm1& f) { f.SavePdfClick(false); }},
             {"actSavePdfWithAnswers", "PDFに保存（答えつき）(&A)…", K(Qt::CTRL | Qt::SHIFT | Qt::Key_S), true,
              [](TForm1& f) { f.SavePdfClick(true); }},
             {"actPrintPreview", "印刷プレビュー(&V)…", K(Qt::CTRL | Qt::SHIFT | Qt::Key_P), true,
              [](TForm1& f) { f.PrintPreviewClick(); }},
             {"actPrint", "印刷(&P)", K(Qt::CTRL | Qt::Key_P), true, [](TForm1& f) { f.btnPrintClick(); }},
             {"actSeed", "乱数のもとを指定(&R)…", K(Qt::CTRL | Qt::Key_R), false, [](TForm1& f) { f.SeedClick(); }},
             {nullptr, nullptr, {}, false, nullptr},
             {"actClassSet", "まとめて作成(&M)…", K(Qt::CTRL | Qt::Key_M), false, [](TForm1& f) { f.ClassSetClick(); }},
             {"actDiagnostic", "診断プリント(&G)…", K(Qt::CTRL | Qt::Key_G), false, [](TForm1& f) { f.DiagnosticClick(); }},
             {"actHistory", "履歴(&H)…", K(Qt::CTRL | Qt::Key_H), false, [](TForm1& f) { f.HistoryClick(); }},
             {"actReadAnswers", "答案を読み取る(&E)…", K(Qt::CTRL | Qt::Key_E), false, [](TForm1& f) { f.ReadAnswersClick(); }},
             {nullptr, nullptr, {}, false, nullptr},
             {"actQuit", "終了(&X)", K(Qt::CTRL | Qt::Key_Q), false, [](TForm1& f) { f.close(); }},
         }},
        {"mnuOperation", "計算(&K)", {{"mnuOperationItems", nullptr, {}, false, nullptr, "operations"}}},
        {"mnuSettings",
         "設定(&O)",
         {
             {"mnuPresets", "プリセット(&R)", {}, false, nullptr, "presets"},
             {nullptr, nullptr, {}, false, nullptr},
             {"actOpenSettings", "設定を開く(&O)…", K(Qt::CTRL | Qt::Key_O), false, [](TForm1& f) { f.OpenSettingsClick(); }},
             {"actSaveSettings", "設定を保存(&W)…", {}, false, [](TForm1& f) { f.SaveSettingsClick(); }},
             {"actResetSettings", "最初の設定に戻す(&D)", {}, false, [](TForm1& f) { f.ResetSettingsClick(); }},
             {nullptr, nullptr, {}, false, nullptr},
             {"actCarryMarks", "答えに補助数字を書く(&C)", {}, false, [](TForm1& f) { f.PaintBox1->update(); }},
             {"actPartialSumCarry", "かけ算: 部分積のたし算でくり上がる問題だけ(&J)", {}, false, [](TForm1&) {}},
             {"actReadingMarks", "読み取り用の印（大きなマス）(&Y)", {}, false, [](TForm1& f) { f.PaintBox1->update(); }},
             {nullptr, nullptr, {}, false, nullptr},
             {"mnuLayout", "レイアウト(&L)", {}, false, nullptr, "layout"},
             {"mnuProblems", "大きなマスの問題数(&N)", {}, false, nullptr, "problems"},
             {"mnuDigitFont", "大きなマスの数字の書体(&F)", {}, false, nullptr, "digitfont"},
             {"mnuPaper", "PDFの用紙(&P)", {}, false, nullptr, "paper"},
         }},
        {"mnuHelp",
         "ヘルプ(&H)",
         {
             {"actHelp", "使い方(&U)", {}, false, [](TForm1& f) { f.HelpClick(); }},
             {"actAbout", "このプログラムについて(&A)", {}, false, [](TForm1& f) { f.AboutClick(); }},
         }},
    };
}

}  // namespace

void TForm1::BuildMenus()
{
    auto addCommand = [this](QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                             bool needsSheet, std::function<void(TForm1&)> run) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        action->setEnabled(!needsSheet);
        action->setProperty("needsSheet", needsSheet);
        connect(action, &QAction::triggered, this, [this, run = std::move(run)] { RunGuarded([&] { run(*this); }); });
        actions_[name.toStdString()] = action;
        return action;
    };

    for (const TMenu& table : Menus()) {
        QMenu* menu = MenuBar->addMenu(QString::fromUtf8(table.Caption));
        menu->setObjectName(QString::fromUtf8(table.Name));
        for (const TMenuEntry& entry : table.Entries) {
            if (!entry.Name) {
                menu->addSeparator();
            } else if (!entry.Submenu) {
                addCommand(menu, QString::fromUtf8(entry.Name), QString::fromUtf8(entry.Caption), entry.Shortcut,
                           entry.NeedsSheet, entry.Run);
            } else if (std::string(entry.Submenu) == "operations") {
                // Items of the menu itself, one of them chosen.
                auto* group = new QActionGroup(menu);
                // Ctrl+1, Ctrl+2, …: the operations in the order of their rows.
                int number = 0;
                for (const TOperationRules& rules : Operations()) {
                    const TOperation operation = rules.Operation;
                    // The operations with decimals after a line of their own.
                    if (rules.Decimal() && !RulesOf(Operations()[static_cast<size_t>(number - 1)].Operation).Decimal())
                        menu->addSeparator();
                    QAction* action = addCommand(
                        menu, QString::fromStdString(OperationActionName(operation)),
                        QStringLiteral("%1(&%2)").arg(QString::fromUtf8(rules.Name), QString::fromUtf8(rules.MenuAccelerator)),
                        QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + number++)), false,
                        [operation](TForm1& f) { f.SetOperation(operation); });
                    action->setCheckable(true);
                    action->setChecked(operation == operation_);
                    group->addAction(action);
                }
            } else {
                QMenu* sub = menu->addMenu(QString::fromUtf8(entry.Caption));
                sub->setObjectName(QString::fromUtf8(entry.Name));
                if (std::string(entry.Submenu) == "presets") {
                    // A submenu of presets for each operation.
                    const std::vector<TPreset>& presets = Presets();
                    for (const TOperationRules& rules : Operations()) {
                        QMenu* group = sub->addMenu(QString::fromUtf8(rules.Name));
                        group->setObjectName(QStringLiteral("mnuPresets") + QString::fromStdString(OperationActionName(rules.Operation)).mid(3));
                        for (size_t i = 0; i < presets.size(); ++i)
                            if (presets[i].Settings.Values.Operation == rules.Operation)
                                addCommand(group, QStringLiteral("actPreset%1").arg(i), QString::fromStdString(presets[i].Name),
                                           {}, false, [i](TForm1& f) { f.PresetClick(i); });
                    }
                } else {
                    // A choice among items, one checked.
                    struct TChoice {
                        QString Name, Caption;
                        std::function<void(TForm1&)> Choose;
                        bool Checked;
                    };
                    std::vector<TChoice> choices;
                    const std::string kind = entry.Submenu;
                    if (kind == "layout") {
                        choices.push_back({QStringLiteral("actCell0"), QStringLiteral("標準(&S)"), [](TForm1& f) { f.SetLayout(0); }, true});
                        for (int32_t mm = kSmallestCellMM; mm <= kLargestCellMM; ++mm)
                            choices.push_back({QStringLiteral("actCell%1").arg(mm), QStringLiteral("大きなマス %1 mm").arg(mm),
                                               [mm](TForm1& f) { f.SetLayout(mm); }, false});
                    } else if (kind == "problems") {
                        for (const int32_t count : kProblemCounts)
                            choices.push_back({QStringLiteral("actProblems%1").arg(count), QStringLiteral("%1 問").arg(count),
                                               [count](TForm1& f) { f.SetProblemCount(count); }, count == 12});
                    } else if (kind == "digitfont") {
                        for (const TDigitFont& font : kDigitFonts)
                            choices.push_back({QStringLiteral("actDigitFont") + QString::fromUtf8(font.Face).remove(QLatin1Char(' ')),
                                               QString::fromUtf8(font.Name), [face = std::string(font.Face)](TForm1& f) { f.SetDigitFont(face); },
                                               &font == &kDigitFonts[0]});
                    } else {
                        for (TPaper paper : Papers()) {
                            const QString name = QString::fromStdString(PaperName(paper));
                            choices.push_back({QStringLiteral("actPaper") + name, name, [paper](TForm1& f) { f.SetPdfPaper(paper); },
                                               paper == pdfPaper_});
                        }
                    }
                    auto* group = new QActionGroup(sub);
                    for (const TChoice& choice : choices) {
                        QAction* action = addCommand(sub, choice.Name, choice.Caption, {}, false, choice.Choose);
                        action->setCheckable(true);
                        action->setChecked(choice.Checked);
                        group->addAction(action);
                    }
                }
            }
        }
    }
    // The yes-or-no settings stay checked, off at start.
    const TWorksheetSettings defaults;
    for (const TFlagField& flag : FlagFields()) {
        Action(std::string("act") + flag.Name)->setCheckable(true);
        Action(std::string("act") + flag.Name)->setChecked(defaults.*flag.Member);
    }
}

std::string TForm1::OperationActionName(TOperation operation)
{
    // "decimal-addition" → actDecimalAddition
    std::string name = "act";
    bool capital = true;
    for (const char ch : std::string(RulesOf(operation).Key)) {
        if (ch == '-') {
            capital = true;
            continue;
        }
        name += capital && ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
        capital = false;
    }
    return name;
}

void TForm1::SetPrintingEnabled(bool enabled)
{
    btnPrint->setEnabled(enabled);
    btnPrintWithAns->setEnabled(enabled);
    for (const auto& [name, action] : actions_)
        if (action->property("needsSheet").toBool()) action->setEnabled(enabled);
}

void TForm1::SetPdfPaper(TPaper paper)
{
    pdfPaper_ = paper;
    if (QAction* action = Action("actPaper" + PaperName(paper))) action->setChecked(true);
    PaintBox1->update();
}

void TForm1::SetLayout(int32_t cellMM)
{
    if (QAction* action = Action("actCell" + std::to_string(cellMM))) action->setChecked(true);
    if (cellMM == cellMM_) return;
    cellMM_ = cellMM;
    // Another page: nothing to print until the next Preview.
    ClearPreview();
}

void TForm1::SetProblemCount(int32_t count)
{
    if (QAction* action = Action("actProblems" + std::to_string(count))) action->setChecked(true);
    // 12 and 16 are the problem-count group's too.
    if ((count == 12 || count == 16) && QNumPattern->ItemIndex() != (count == 12 ? 0 : 1))
        QNumPattern->SetItemIndex(count == 12 ? 0 : 1);
    if (count == problems_) return;
    problems_ = count;
    if (cellMM_ > 0) ClearPreview();
}

void TForm1::SetDigitFont(const std::string& face)
{
    digitFont_ = face;
    if (QAction* action = Action("actDigitFont" + QString::fromStdString(face).remove(QLatin1Char(' ')).toStdString()))
        action->setChecked(true);
    PaintBox1->update();
}

QAction* TForm1::Action(const std::string& name) const
{
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}
