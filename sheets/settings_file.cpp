#include "sheets/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <iterator>

#include "errors/errors.h"
#include "sheets/json_text.h"
#include "worksheet/operations.h"
#include "worksheet/settings_fields.h"
#include "worksheet/utf8.h"

using nlohmann::json;

namespace {

const char* const kFormat = "tavelin-settings";
constexpr int kVersion = 4;

constexpr size_t kLargestSettingsFile = 1024 * 1024;

[[noreturn]] void Refuse(const std::string& why)
{
    throw EFileError(why);
}

std::string TooLarge(const std::string& name)
{
    return "ファイル「" + name + "」は設定ファイルにしては大きすぎます（1 MB まで）";
}

std::string Key(const std::string& name)
{
    return "設定「" + name + "」";
}

// The value of `key`, or null when the object does not name it.
const json* ValueOf(const json& object, const char* key)
{
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

TOperation OperationOf(const json& value)
{
    if (value.is_string())
        if (const TOperationRules* rules = OperationWithKey(value.get<std::string>())) return rules->Operation;
    std::string keys;
    for (const TOperationRules& r : Operations()) keys += (keys.empty() ? "\"" : "、\"") + std::string(r.Key) + "\"";
    Refuse(Key(kOperationKey) + "の値は " + keys + " のどれかです");
}

std::string TextOf(const TTextField& field, const json& value)
{
    if (value.is_string()) return value.get<std::string>();
    if (!value.is_number()) Refuse(Key(field.Name) + "の値が文字列ではありません");
    const double number = value.get<double>();
    // The sentence takes any number as it is written; a box that holds a
    // number takes a whole number, written out.
    if (field.Member == &TWorksheetSettings::QstSentence) return NumberText(number, 0);
    if (std::floor(number) != number || std::fabs(number) > 9007199254740992.0)
        Refuse(Key(field.Name) + "の値 " + NumberText(number, 15) + " は整数ではありません");
    return std::to_string(static_cast<int64_t>(number));
}

int32_t ChoiceOf(const TChoiceField& field, const json& value)
{
    // The range is checked on the number as it stands, before it becomes an int.
    const double number = value.is_number() ? value.get<double>() : -1;
    if (!value.is_number() || std::floor(number) != number) Refuse(Key(field.Name) + "の値が整数ではありません");
    if (!(number >= 0 && number < field.Items))
        Refuse(Key(field.Name) + "の値 " + NumberText(number) + " は範囲外です（0～" + std::to_string(field.Items - 1) + "）");
    return static_cast<int32_t>(number);
}

// "２": a place count as the window writes it.
std::string WideDigit(int32_t digit)
{
    return std::string("\xEF\xBC") + static_cast<char>(0x90 + digit);
}

}  // namespace

TSettingsFile SettingsFromJson(const json& object)
{
    TSettingsFile file;
    if (const json* operation = ValueOf(object, kOperationKey)) {
        file.Values.Operation = OperationOf(*operation);
        file.Named.insert(kOperationKey);
    }
    for (const TFlagField& field : FlagFields()) {
        const json* flag = ValueOf(object, field.Name);
        if (!flag) continue;
        if (!flag->is_boolean()) Refuse(Key(field.Name) + "の値は true か false です");
        file.Values.*field.Member = flag->get<bool>();
        file.Named.insert(field.Name);
    }
    for (const TTextField& field : TextFields()) {
        const json* value = ValueOf(object, field.Name);
        if (!value) continue;
        const std::string text = TextOf(field, *value);
        const size_t longest = static_cast<size_t>(field.MaxLength > 0 ? field.MaxLength : kLongestBoxText);
        if (BoxLength(text) > longest)
            Refuse(Key(field.Name) + "の値「" + (BoxLength(text) > 20 ? FirstCharacters(text, 20) + "…" : text) +
                   "」は長すぎます（" + std::to_string(longest) + " 文字まで）");
        // A box that holds a number takes one (or nothing, which holds 0).
        if (!HoldsText(field, text)) Refuse(Key(field.Name) + "の値「" + text + "」は整数ではありません");
        file.Values.*field.Member = field.Number && text.empty() ? "0" : text;
        file.Named.insert(field.Name);
    }
    for (const TChoiceField& field : ChoiceFields()) {
        const json* value = ValueOf(object, field.Name);
        if (!value) continue;
        file.Values.*field.Member = ChoiceOf(field, *value);
        file.Named.insert(field.Name);
    }
    // The layout (version 3): the cell size, the problem count, the digit face.
    if (const json* cell = ValueOf(object, kCellKey)) {
        const double mm = cell->is_number() ? cell->get<double>() : -1;
        if (!cell->is_number() || !(mm == 0 || (mm >= kSmallestCellMM && mm <= kLargestCellMM)) || std::floor(mm) != mm)
            Refuse(Key(kCellKey) + "の値は 0（標準）か " + std::to_string(kSmallestCellMM) + "～" +
                   std::to_string(kLargestCellMM) + "（大きなマスのミリメートル）です");
        file.Values.CellMM = static_cast<int32_t>(mm);
        file.Named.insert(kCellKey);
    }
    if (const json* problems = ValueOf(object, kProblemsKey)) {
        const double count = problems->is_number() ? problems->get<double>() : -1;
        if (std::find(std::begin(kProblemCounts), std::end(kProblemCounts), count) == std::end(kProblemCounts))
            Refuse(Key(kProblemsKey) + "の値は 6、8、9、12、16 のどれかです");
        file.Values.Problems = static_cast<int32_t>(count);
        file.Named.insert(kProblemsKey);
        // 12 and 16 are the problem-count group's too.
        if (count == 12 || count == 16) {
            file.Values.QNumPattern = count == 12 ? 0 : 1;
            file.Named.insert("QNumPattern");
        }
    }
    if (const json* font = ValueOf(object, kDigitFontKey)) {
        const auto known = std::find_if(std::begin(kDigitFonts), std::end(kDigitFonts), [&](const TDigitFont& f) {
            return font->is_string() && font->get<std::string>() == f.Face;
        });
        if (known == std::end(kDigitFonts)) Refuse(Key(kDigitFontKey) + "の値は \"BIZ UDGothic\"、\"Klee One\" のどれかです");
        file.Values.DigitFont = known->Face;
        file.Named.insert(kDigitFontKey);
    }
    // 6, 8 and 9 problems are counts of 大きなマス only.
    if (file.Named.count(kProblemsKey) && file.Named.count(kCellKey) && file.Values.CellMM == 0 && file.Values.Problems < 12)
        Refuse(Key(kProblemsKey) + "の値 " + std::to_string(file.Values.Problems) + " は、大きなマス（「" + kCellKey +
               "」が 7～20）のときだけです");
    // The places the operation's second number does not have hold 0.
    const TOperationRules& rules = RulesOf(file.Values.Operation);
    for (int32_t place = rules.SecondPlaces + 1; place <= 4; ++place)
        for (const char end : {'l', 'h'}) {
            const std::string name = std::string("d") + static_cast<char>('0' + place) + end;
            if (file.Named.count(name) && file.Values.*TextFieldNamed(name).Member != "0")
                Refuse(Key(name) + "の値は、" + rules.Name + "では「0」です（" + rules.SecondNumberName + "は" +
                       WideDigit(rules.SecondPlaces) + "けたまで）");
        }
    return file;
}

TSettingsFile ParseSettingsFile(const std::string& text)
{
    const json object = ParseJsonObject(text, "設定ファイル");
    const json* format = ValueOf(object, "format");
    if (!format || !format->is_string() || format->get<std::string>() != kFormat)
        Refuse(std::string("このファイルは設定ファイルではありません（「format」が \"") + kFormat + "\" ではありません）");
    const json* version = ValueOf(object, "version");
    const double number = version && version->is_number() ? version->get<double>() : -1;
    if (!version || !version->is_number() || std::floor(number) != number || !(number >= 1))
        Refuse("設定「version」の値が正しくありません");
    if (number > kVersion)
        Refuse("この設定ファイルは新しい版のプログラムで保存されました（version " + NumberText(number) +
               "）。このプログラムが読めるのは version " + std::to_string(kVersion) + " までです");
    TSettingsFile file = SettingsFromJson(object);
    // A file of the first version, or one that does not say, is a
    // multiplication; a first-version file has no marks; a file before the
    // third version is of the layout 標準.
    file.Named.insert(kOperationKey);
    if (number < 2) {
        file.Values.CarryMarks = false;
        file.Named.insert("CarryMarks");
    }
    if (number < 3) {
        file.Values.CellMM = 0;
        file.Named.insert(kCellKey);
    }
    // Before the fourth version numbers were whole: no decimal places.
    if (number < 4) {
        if (RulesOf(file.Values.Operation).Decimal()) Refuse("version " + NumberText(number) + " の設定ファイルに小数の計算はありません");
        for (const TTextField& field : TextFields())
            if (IsDecimalPlaceField(field)) {
                file.Values.*field.Member = "0";
                file.Named.insert(field.Name);
            }
    }
    return file;
}

TSettingsFile ReadSettingsFile(const std::string& path)
{
    // Only a plain file, and only as much as a settings file can be: a pipe
    // would wait for ever, a device would never end.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) Refuse("ファイル「" + ShownBytes(path) + "」を開けません（" + SystemErrorText(errno) + "）");
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        Refuse("「" + ShownBytes(path) + "」はふつうのファイルではないので、設定ファイルとして読めません");
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int code = errno;
            close(fd);
            Refuse("ファイル「" + ShownBytes(path) + "」を読めません（" + SystemErrorText(code) + "）");
        }
        if (got == 0) break;
        text.append(buffer, static_cast<size_t>(got));
        if (text.size() > kLargestSettingsFile) {
            close(fd);
            Refuse(TooLarge(ShownBytes(path)));
        }
    }
    close(fd);
    return ParseSettingsFileNamed(path, text);
}

TSettingsFile ParseSettingsFileNamed(const std::string& name, const std::string& text)
{
    if (text.size() > kLargestSettingsFile) Refuse(TooLarge(ShownBytes(name)));
    try {
        return ParseSettingsFile(text);
    } catch (const EFileError& e) {
        // Which file it was, for a teacher who keeps several.
        Refuse("設定ファイル「" + ShownBytes(name) + "」: " + e.what());
    }
}

TSettingsFile ParseLinkSettings(const std::string& text)
{
    return SettingsFromJson(ParseJsonObject(text, "リンクの設定"));
}

std::string SettingsFileText(const TWorksheetSettings& settings)
{
    std::string out = std::string("{\n  \"format\": \"") + kFormat + "\",\n  \"version\": " + std::to_string(kVersion);
    auto key = [&out](const char* name) { out += std::string(",\n  \"") + name + "\": "; };
    key(kOperationKey);
    out += std::string("\"") + RulesOf(settings.Operation).Key + "\"";
    const std::vector<TTextField>& texts = TextFields();
    // The digit boxes and the answer range, the choices, then the sentence
    // and the sheet number: the order of the window.
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i == texts.size() - 2)
            for (const TChoiceField& choice : ChoiceFields()) {
                key(choice.Name);
                out += std::to_string(settings.*choice.Member);
            }
        key(texts[i].Name);
        out += QuotedJson(settings.*texts[i].Member);
    }
    for (const TFlagField& flag : FlagFields()) {
        key(flag.Name);
        out += settings.*flag.Member ? "true" : "false";
    }
    key(kCellKey);
    out += std::to_string(settings.CellMM);
    key(kProblemsKey);
    out += std::to_string(settings.Problems > 0 ? settings.Problems : settings.QNumPattern * 4 + 12);
    key(kDigitFontKey);
    out += QuotedJson(settings.DigitFont);
    return out + "\n}\n";
}

void ApplyNamed(const TSettingsFile& file, TWorksheetSettings& target)
{
    if (file.Named.count(kOperationKey)) target.Operation = file.Values.Operation;
    if (file.Named.count(kCellKey)) target.CellMM = file.Values.CellMM;
    if (file.Named.count(kProblemsKey)) target.Problems = file.Values.Problems;
    if (file.Named.count(kDigitFontKey)) target.DigitFont = file.Values.DigitFont;
    for (const TFlagField& field : FlagFields())
        if (file.Named.count(field.Name)) target.*field.Member = file.Values.*field.Member;
    for (const TTextField& field : TextFields())
        if (file.Named.count(field.Name)) target.*field.Member = file.Values.*field.Member;
    for (const TChoiceField& field : ChoiceFields())
        if (file.Named.count(field.Name)) target.*field.Member = file.Values.*field.Member;
}
