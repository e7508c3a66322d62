#include "cli/options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "worksheet/utf8.h"

namespace {

const std::vector<std::string> kMaking = {"--pdf"};
const std::vector<std::string> kReprinting = {"--history-pdf"};

}  // namespace

const std::vector<TOptionRow>& OptionRows()
{
    static const std::vector<TOptionRow> rows = {
        {"--pdf", "FILE", "プリントを PDF ファイルにします。", {}},
        {"--settings", "FILE", "設定ファイル（設定 ▸ 設定を保存 で作ったもの）の設定で作ります。", kMaking},
        {"--preset", "NAME", "プリセットの設定で作ります（--settings とは一緒に使えません）。\n全角の数字や記号で書いた名前も使えます。", kMaking},
        {"--sheets", "N", "N 枚（1～99）を、それぞれ違う問題で作ります。番号は続き番号です。", kMaking},
        {"--answers", "none|after|each",
         "答えのプリント: none なし（既定）、after 全部の問題のあと、\neach それぞれの問題のすぐあと。", kMaking},
        {"--number", "K", "最初のプリント番号（既定は設定のプリント番号）。", kMaking},
        {"--problems", "6|8|9|12|16", "1 枚の問題数（設定やプリセットより優先）。6、8、9 は大きなマスのとき。", kMaking},
        {"--cell", "MM", "大きなマス: 数字を MM ミリ（7～20）の正方形のマスに書きます。0 は標準の配置。\n（設定やプリセットより優先）。", kMaking},
        {"--grid", "yes|no", "数字のます目（枠）を書くかどうか（設定やプリセットより優先）。", kMaking},
        {"--marks", "", "答えのプリントに補助数字（くり上がり・くり下がりの小さな数字）を書きます。", kMaking},
        {"--reading-marks", "yes|no", "大きなマスのプリントに読み取り用の印（四すみの印、出席番号のわく、\nプリントのコード）を書くかどうか（既定は yes）。", kMaking},
        {"--roll-numbers", "", "大きなマスのプリントに出席番号 1、2、3 … を順に書きます。", kMaking},
        {"--paper", "A4|B5|B4|A3", "用紙（既定は A4。B5 と B4 は JIS）。", kMaking},
        {"--csv", "FILE", "問題と答えを CSV ファイルにもします（1 行に 1 問。\nsheet,problem,operation,first,second,answer,remainder）。\nPDF と CSV は、両方できるか、どちらもできないかです。", kMaking},
        {"--seed", "N", "問題を選ぶ乱数のもと（64 ビットの整数）。同じ設定・番号・枚数なら、\nどのコンピュータでも同じプリントになります。結果の行に表示され、履歴にも残ります。", kMaking},
        {"--diagnostic", "OPERATION",
         "診断プリント: まちがい方（くり下がりで左の位を減らさない、など）を見分ける\n12 問を選んで作ります。OPERATION は subtraction、addition、multiplication、division、\ndecimal-addition、decimal-subtraction、decimal-multiplication、decimal-division。\n答えのプリントには、出やすいまちがいの答えを記号つきで\n書きます。--settings か --preset の計算が同じなら、その数字の範囲から選びます。", kMaking},
        {"--follow-up", "ID|latest",
         "読み取った答案から、子どもごとの次のプリントを作ります（出席番号の順）。ID は --readings の番号、\nlatest は最後の読み取り。まちがい方のある子には、れい・まちがいをさがそう・\nそのまちがいが出る問題・出ない問題・ふりかえりの問題、全部正しい子には次のくり上がりの型、\n決められなかった子には診断プリントをもう一度作ります。CSV には shusseki,purpose の列がつきます。",
         kMaking},
        {"--list-presets", "", "プリセットを一覧にします（計算の名前、タブ、--preset に渡す名前）。", {}},
        {"--history", "", "履歴を新しい順に一覧にします（番号、日時、プリント番号、内容、答え、行き先）。\n行き先のタブと改行は \\t と \\n、\\ は \\\\ と書きます。", {}},
        {"--limit", "N", "一覧にする数。", {"--history"}},
        {"--history-pdf", "ID FILE", "履歴のプリントを、記録された問題のまま PDF にします。", {}, 2},
        {"--answers", "none|after", "答えのプリント: none なし（既定）、after 問題のあと。", kReprinting},
        {"--paper", "A4|B5|B4|A3", "用紙（既定は A4）。", kReprinting},
        {"--csv", "FILE", "問題と答えを CSV ファイルにもします。", kReprinting},
        {"--diagnose", "ID A1 … A12",
         "履歴の診断プリント ID への子どもの答え 12 個から、まちがい方を調べます。\n答えのない問題は - 、わり算のあまりは 21あまり1 か 21r1 と書きます。\n1 行目: まちがい方の名前（correct 正しい、undecided 判定できない）、タブ、\n日本語の名前、タブ、説明できた答えの数。そのあと 1 問 1 行（番号、問題、答え、\n○ 合う × 合わない、その答えになる計算の名前）。", {}, TOptionRow::kAnyCount},
        {"--read", "SCAN …",
         "答案を読み取ります: コピー機の PDF や写真（PNG、JPEG）の大きなマスのプリントを\n読み、採点します。決められない答えは ? と一番近い読みを書きます。\n答えのページ、白紙のページは読まず、同じ子どもの同じプリントは 1 度だけ数えます。\n読めないファイルやページがあっても、ほかのページは読みます。\n読めたプリントが 1 枚もないときは、結果のファイルを書きません（前のものはそのまま）。\n終了コード: 0 全部読めた、2 決められない答えがある、1 読めないページやファイルがある。",
         {}, TOptionRow::kAnyCount},
        {"--results", "FILE", "結果の CSV ファイル（shusseki,sheet,problem,answer,correct,decided,procedure,\noperation,seed）。", {"--read"}},
        {"--marked", "FILE", "採点済みの PDF（○ と ×、まちがいには赤で正しい答え）。", {"--read"}},
        {"--pupils", "FILE", "子どもごとの CSV ファイル（shusseki,sheet,operation,right,wrong,asked,procedure）。\n結果、採点済みの PDF と一緒に、全部できるか、どれもできないかです。", {"--read"}},
        {"--typed", "FILE", "決められなかった答えを先生が書いた CSV ファイル（shusseki,sheet,problem,answer。\n答えは結果の CSV と同じ書き方: 24あまり2）。", {"--read"}},
        {"--readings", "", "履歴の読み取りを新しい順に一覧にします（番号、日時、プリントの組、人数、\n決めていない答えの数）。", {}},
        {"--limit", "N", "一覧にする数。", {"--readings"}},
        {"--help", "", "この説明を表示します。", {}},
        {"--version", "", "バージョンを表示します。", {}},
    };
    return rows;
}

namespace {

bool IsCommand(const TOptionRow& row)
{
    return row.With.empty();
}

// The entries of that name (an option may go with several commands).
std::vector<const TOptionRow*> RowsNamed(const std::string& name)
{
    std::vector<const TOptionRow*> found;
    for (const TOptionRow& row : OptionRows())
        if (row.Name == name) found.push_back(&row);
    return found;
}

std::vector<std::string> CommandNames()
{
    std::vector<std::string> names;
    for (const TOptionRow& row : OptionRows())
        if (IsCommand(row)) names.push_back(row.Name);
    return names;
}

std::string Quoted(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) text += "「" + name + "」";
    return text;
}

}  // namespace

TOptions ParseOptions(const std::vector<std::string>& arguments)
{
    TOptions options;
    int positionalLeft = 0;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i], value;
        bool hasValue = false;
        if (positionalLeft > 0 && name.rfind("--", 0) != 0) {
            options.Positional.push_back(name);
            --positionalLeft;
            continue;
        }
        if (const size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        const std::vector<const TOptionRow*> rows = RowsNamed(name);
        if (rows.empty()) throw EUsage("「" + name + "」というオプションはありません。--help で使い方を表示します");
        const TOptionRow& row = *rows.front();
        if (!row.Argument.empty() && row.Positional == 0) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) throw EUsage("オプション「" + name + "」には値が必要です");
                value = arguments[++i];
            }
        } else if (hasValue) {
            throw EUsage("オプション「" + name + "」は値をとりません");
        }
        if (options.Has(name)) throw EUsage("オプション「" + name + "」が二度あります");
        options.Values[name] = value;
        if (IsCommand(row)) {
            if (!options.Command.empty())
                throw EUsage("「" + options.Command + "」と「" + name + "」は一緒には使えません");
            options.Command = name;
            positionalLeft = row.Positional == TOptionRow::kAnyCount ? INT32_MAX : row.Positional;
        }
    }
    if (options.Command.empty()) throw EUsage(Quoted(CommandNames()) + "のどれかが必要です");
    for (const auto& [name, value] : options.Values) {
        if (name == options.Command) continue;
        const std::vector<const TOptionRow*> rows = RowsNamed(name);
        const bool allowed = std::any_of(rows.begin(), rows.end(), [&](const TOptionRow* row) {
            return std::find(row->With.begin(), row->With.end(), options.Command) != row->With.end();
        });
        if (!allowed) throw EUsage("オプション「" + name + "」は「" + options.Command + "」と一緒には使えません");
    }
    return options;
}

int64_t DecimalOption(const std::string& name, const std::string& text, int64_t low, int64_t high)
{
    const size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    bool decimal = text.size() > digits && text.size() - digits <= 10;
    for (size_t i = digits; decimal && i < text.size(); ++i) decimal = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (decimal) {
        const int64_t value = std::stoll(text);
        if (value >= low && value <= high) return value;
    }
    if (low == INT32_MIN && high == INT32_MAX)
        throw EUsage("オプション「" + name + "」の値「" + text + "」は整数ではありません");
    if (high >= INT32_MAX)
        throw EUsage("オプション「" + name + "」の値「" + text + "」は " + std::to_string(low) + " 以上の整数ではありません");
    throw EUsage("オプション「" + name + "」の値「" + text + "」は " + std::to_string(low) + "～" + std::to_string(high) +
                 " の整数ではありません");
}

namespace {

// Display columns of a UTF-8 text: two for a wide character, one for ASCII.
size_t Columns(const std::string& text)
{
    size_t columns = 0;
    ForEachCharacter(text, [&](char32_t code, std::string_view) { columns += code < 0x80 ? 1 : 2; });
    return columns;
}

// "  --name ARG", padded to `column`, then the help; later help lines under it.
void Entry(std::string& out, const TOptionRow& row, size_t indent, size_t column)
{
    std::string head = std::string(indent, ' ') + row.Name + (row.Argument.empty() ? "" : " " + row.Argument);
    const std::string pad(column, ' ');
    if (Columns(head) + 2 > column) {
        out += head + "\n" + pad;
    } else {
        out += head + std::string(column - Columns(head), ' ');
    }
    for (const char ch : row.Help) {
        out += ch;
        if (ch == '\n') out += pad;
    }
    out += "\n";
}

}  // namespace

std::string CommandLineHelp()
{
    std::string out = "使い方: Tavelin [オプション]\nオプションなしで起動すると、ウィンドウが開きます。\n\n";
    for (const TOptionRow& command : OptionRows()) {
        if (!IsCommand(command)) continue;
        Entry(out, command, 2, 24);
        for (const TOptionRow& option : OptionRows())
            if (std::find(option.With.begin(), option.With.end(), command.Name) != option.With.end())
                Entry(out, option, 4, 26);
    }
    out += R"(
作ったプリントは履歴に記録されます（$XDG_DATA_HOME/Tavelin/history.sqlite3）。
わり算では、答えの範囲は商の範囲です。
終了コード: 0 成功、1 オプションやファイルの誤り、2 問題数が足りずに作れなかった。

例:
  Tavelin --pdf かけ算.pdf --preset "2けた×1けた（十の位でくり上がり）"
  Tavelin --pdf ひき算.pdf --preset "3けた−3けた（0をこえるくり下がり）" --sheets 30 --answers after --marks --csv 答え.csv
  Tavelin --pdf クラス.pdf --settings 3年2組.json --sheets 30 --answers after --number 12 --paper B4
  Tavelin --list-presets
  Tavelin --history --limit 10
  Tavelin --history-pdf 42 答え.pdf --answers after
  Tavelin --pdf 診断.pdf --diagnostic subtraction --answers after
  Tavelin --diagnose 43 144 256 - 54 388 1777 121 405 414 29 104 782
)";
    return out;
}
