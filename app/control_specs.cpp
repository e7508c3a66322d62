#include "app/control_specs.h"


#include "render/reference_page.h"
#include "worksheet/division.h"
#include "worksheet/operations.h"
#include "worksheet/settings_fields.h"

namespace {


// One place of the digit boxes: its name digit, the left of its low box, its
// hint, and the names of its "～" labels and frames (multiplicand, multiplier).
struct TPlace {
    int Number;
    int LowLeft;
    const char* Hint;
    const char *UpperTilde, *LowerTilde, *UpperFrame, *LowerFrame;
};

const TPlace kPlaces[] = {
    {1, 288, "一の位の範囲を入力", "Label6", "Label10", "Bevel3", "Bevel10"},
    {2, 216, "十の位の範囲を入力", "Label5", "Label9", "Bevel4", "Bevel9"},
    {3, 144, "百の位の範囲を入力", "Label4", "Label8", "Bevel5", "Bevel8"},
    {4, 72, "千の位の範囲を入力", "Label3", "Label7", "Bevel6", "Bevel7"},
};

// The multiplicand row (u) and the multiplier row (d).
struct TRow {
    char Prefix;
    int Top;
    int FirstTabOrder;
};
const TRow kRows[] = {{'u', 176, 0}, {'d', 224, 8}};

TControlSpec Bevel(const char* name, int left, int top, int width, int height)
{
    return {name, TControlKind::Bevel, left, top, width, height};
}

TControlSpec Label(const char* name, int left, int top, int width, int height, const char* text,
                   TFontSpec font = {})
{
    TControlSpec s{name, TControlKind::Label, left, top, width, height, text};
    s.Font = font;
    return s;
}

// An edit box for the settings field of the same name.
TControlSpec Edit(const std::string& name, TControlKind kind, int left, int top, int width, int height,
                  const char* hint, int tabOrder)
{
    // Its start-up text (the settings' default) and its length limit come
    // from the one table of settings fields.
    const TTextField& field = TextFieldNamed(name);
    return {name, kind, left, top, width, height, TWorksheetSettings{}.*field.Member, hint, field.MaxLength, tabOrder};
}

TControlSpec Group(const char* name, int left, int top, int width, int height, const char* caption,
                   std::vector<std::string> items, int tabOrder)
{
    TControlSpec s{name, TControlKind::RadioGroup, left, top, width, height, caption};
    s.TabOrder = tabOrder;
    s.Font = {kPGothicFace, 13};
    s.Items = std::move(items);
    return s;
}

// A radio group with its items side by side, hidden until its operation is chosen.
TControlSpec RowGroup(const char* name, int left, int top, int width, int height, const char* caption,
                      std::vector<std::string> items, int tabOrder)
{
    TControlSpec s = Group(name, left, top, width, height, caption, std::move(items), tabOrder);
    s.Visible = false;
    s.ItemsInOneRow = true;
    return s;
}

TControlSpec Button(const char* name, int left, int top, int width, int height, const char* caption,
                    const char* hint, bool enabled, int tabOrder, TGlyph glyph)
{
    TControlSpec s{name, TControlKind::Button, left, top, width, height, caption, hint};
    s.TabOrder = tabOrder;
    s.Enabled = enabled;
    s.Glyph = glyph;
    return s;
}

// The decimal places' boxes, hidden until an operation with decimals is
// chosen: a heading over each place, the first number's row, the second's.
void AddDecimalBand(std::vector<TControlSpec>& specs)
{
    struct TDecimalPlace {
        const char* Digits;  // of the field names: u01l
        const char* Heading;
        const char* Hint;
        int Left;
    };
    static const TDecimalPlace kDecimalPlaces[] = {
        {"01", "1/10の位", "1/10の位の範囲を入力", 96},
        {"001", "1/100の位", "1/100の位の範囲を入力", 184},
        {"0001", "1/1000の位", "1/1000の位の範囲を入力", 272},
    };
    const int top = kDecimalBandTop;
    auto hidden = [](TControlSpec s) {
        s.Visible = false;
        s.DecimalPlace = true;
        return s;
    };
    specs.push_back(hidden(Label("LabelDecimals", 16, top + 22, 72, 15, "小数の位")));
    int tab = 29;
    for (const char prefix : {'u', 'd'}) {
        const int rowTop = top + (prefix == 'u' ? 18 : 44);
        for (const TDecimalPlace& place : kDecimalPlaces) {
            const std::string base = std::string(1, prefix) + place.Digits;
            if (prefix == 'u')
                specs.push_back(hidden(Label((std::string("LabelHead") + place.Digits).c_str(), place.Left, top + 2, 80, 15, place.Heading)));
            specs.push_back(hidden(Label((std::string("LabelTilde") + prefix + place.Digits).c_str(), place.Left + 20, rowTop + 4, 15, 15, "～")));
            specs.push_back(hidden(Edit(base + "l", TControlKind::DigitEdit, place.Left, rowTop, 17, 23, place.Hint, tab++)));
            specs.push_back(hidden(Edit(base + "h", TControlKind::DigitEdit, place.Left + 36, rowTop, 17, 23, place.Hint, tab++)));
        }
    }
}

std::vector<TControlSpec> BuildSpecs()
{
    std::vector<TControlSpec> specs = {
        Bevel("Bevel2", 8, 8, 337, 41),
        Bevel("Bevel1", 384, 24, 337, 457),
        Bevel("Bevel11", 8, 88, 361, 65),
        Bevel("Bevel12", 8, 160, 361, 257),
    };
    for (const TRow& row : kRows) {
        for (const TPlace& place : kPlaces) {
            const bool upper = row.Prefix == 'u';
            specs.push_back(Bevel(upper ? place.UpperFrame : place.LowerFrame, place.LowLeft - 8, row.Top - 8, 65, 41));
        }
    }

    const std::vector<TControlSpec> fixed = {
        Label("Label14", 16, 16, 322, 26, TitleText(TOperation::Multiplication).c_str(),
              {kMinchoFace, 13, 0x800080, true}),
        // Teal dark enough to read: 5.1:1 against the window's grey.
        Label("Label12", 512, 4, 91, 13, "ﾌﾟﾚﾋﾞｭｰ画面↓", {kMinchoFace, 13, 0x007070, true}),
        {"PaintBox1", TControlKind::PaintBox, 392, 32, kReferenceWidth, kReferenceHeight},
        Label("Label1", 16, 96, 45, 15, "問題文"),
        Edit("QstSentence", TControlKind::Edit, 16, 120, 345, 23, "問題文を入力", 19),
        Label("Label13", 16, 168, 30, 15, "設定"),
        Label("Label2", 24, 224, 33, 33, RulesOf(TOperation::Multiplication).Sign, {kPGothicFace, 33}),
        {"Shape1", TControlKind::Shape, 24, 264, 329, 5},
        Label("Label16", 32, 284, 74, 15, "答えの範囲"),
        Edit("AnsLow", TControlKind::Edit, 136, 280, 81, 23, "答えの範囲を入力", 16),
        Label("Label11", 232, 284, 20, 20, "～", {kPGothicFace, 20}),
        Edit("AnsHigh", TControlKind::Edit, 264, 280, 81, 23, "答えの範囲を入力", 17),
        Label("Label15", 200, 320, 76, 15, "プリント番号"),
        Edit("PrnNum", TControlKind::Edit, 288, 320, 57, 23, "プリント番号を入力", 18),
        Group("rgKuriagari", 16, 309, 178, 97, RulesOf(TOperation::Multiplication).PatternCaption,
              RulesOf(TOperation::Multiplication).PatternLabels, 27),
        Group("QNumPattern", 200, 341, 81, 68, "問題数", {"３段４列", "４段４列"}, 25),
        Group("rgWaku", 288, 349, 65, 57, "枠の有無", {"あり", "なし"}, 26),
        // Shown only for a division, between the title and the sentence.
        RowGroup("rgAmari", 8, 50, 361, 36, "あまり", RemainderLabels(), 28),
        Button("btnPreview", 8, 424, 129, 25, "プレビュー", "印刷イメージを見る", true, 22, TGlyph::Preview),
        Button("btnPrint", 144, 424, 129, 25, "印刷", "解答なしで印刷", false, 20, TGlyph::Printer),
        Button("btnMaintenance", 8, 456, 129, 25, "印刷設定", "印刷の設定を変更", true, 23, TGlyph::Maintenance),
        Button("btnPrintWithAns", 144, 456, 129, 25, "印刷（答えつき）", "解答ありで印刷", false, 21, TGlyph::Printer),
        Button("btnClose", 280, 456, 89, 25, "終了", "プログラムを終了", true, 24, TGlyph::Close),
    };
    specs.insert(specs.end(), fixed.begin(), fixed.end());

    for (const TRow& row : kRows) {
        for (const TPlace& place : kPlaces) {
            const bool upper = row.Prefix == 'u';
            specs.push_back(Label(upper ? place.UpperTilde : place.LowerTilde, place.LowLeft + 16, row.Top + 4, 15, 15, "～"));
            const std::string base{row.Prefix, static_cast<char>('0' + place.Number)};
            const int tab = row.FirstTabOrder + (place.Number - 1) * 2;
            specs.push_back(Edit(base + "l", TControlKind::DigitEdit, place.LowLeft, row.Top, 17, 23, place.Hint, tab));
            specs.push_back(Edit(base + "h", TControlKind::DigitEdit, place.LowLeft + 32, row.Top, 17, 23, place.Hint, tab + 1));
        }
    }
    AddDecimalBand(specs);
    return specs;
}

}  // namespace

const std::vector<TControlSpec>& ControlSpecs()
{
    static const std::vector<TControlSpec> specs = BuildSpecs();
    return specs;
}

std::string TitleText(TOperation operation)
{
    return std::string(RulesOf(operation).Name) + "の筆算プリントづくり\n位ごとの数字と答えの範囲から問題を作ります";
}

TFontSpec DefaultWindowFont()
{
    return {kPGothicFace, 15};
}
