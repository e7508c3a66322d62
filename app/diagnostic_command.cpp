// 診断プリント: twelve problems that tell a pupil's wrong procedure, shown
// in the preview and printed like any sheet (a pupil's answers are read in
// the 履歴 window).
#include <QLabel>
#include <QLineEdit>

#include "app/application.h"
#include "app/controls.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "requests/requests.h"
#include "worksheet/operations.h"
#include "worksheet/wrong_procedures.h"

void TForm1::DiagnosticClick()
{
    RefuseWhilePrinting();
    QStringList names;
    std::vector<TOperation> operations;
    int current = 0;
    for (const TOperationRules& rules : Operations()) {
        if (!HasDiagnosticSheets(rules.Operation)) continue;
        if (rules.Operation == Settings().Operation) current = static_cast<int>(names.size());
        names << QString::fromUtf8(rules.Name);
        operations.push_back(rules.Operation);
    }
    const int chosen = Dialogs().ChooseItem(this, QStringLiteral("診断プリント"),
                                            QStringLiteral("どの計算の診断プリントを作りますか？"), names, current);
    if (chosen < 0 || chosen >= names.size()) return;
    const TOperation operation = operations[static_cast<size_t>(chosen)];
    const int32_t number = shown_.ConvertNumber(PrnNum->text().toStdString());
    TDiagnosticSet set;
    try {
        set = MakeDiagnosticOf(Settings(), operation, 1, number, TakeSeed());
    } catch (const EShortfall&) {
        ShowShortfallWarning();
        return;
    }
    ShowSheet(set.Sheets.front());
    if (const std::string close = TooCloseMessage(operation, set.TooClose); !close.empty())
        Dialogs().MessageBox(this, ApplicationTitle(), QString::fromStdString(close), TDialogs::TIcon::Information);
}
