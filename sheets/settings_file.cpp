#include "sheets/settings_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

#include "errors/errors.h"
#include "worksheet/division.h"
#include "worksheet/operations.h"
#include "worksheet/settings_fields.h"

namespace {

const char* const kFormat = "tavelin-settings";
constexpr int kVersion = 2;

constexpr qsizetype kLargestSettingsFile = 1024 * 1024;

[[noreturn]] void Refuse(const QString& why)
{
    throw EFileError(why.toStdString());
}

// What is wrong with a JSON text, in words.
QString JsonErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject: return QStringLiteral("「}」が足りません");
    case QJsonParseError::MissingNameSeparator: return QStringLiteral("名前のあとに「:」がありません");
    case QJsonParseError::UnterminatedArray: return QStringLiteral("「]」が足りません");
    case QJsonParseError::MissingValueSeparator: return QStringLiteral("値のあいだに「,」がありません");
    case QJsonParseError::IllegalValue: return QStringLiteral("値が正しくありません");
    case QJsonParseError::TerminationByNumber: return QStringLiteral("数のところで終わっています");
    case QJsonParseError::IllegalNumber: return QStringLiteral("数が正しくありません");
    case QJsonParseError::IllegalEscapeSequence: return QStringLiteral("「\\」のあとが正しくありません");
    case QJsonParseError::IllegalUTF8String: return QStringLiteral("UTF-8 の文字ではありません");
    case QJsonParseError::UnterminatedString: return QStringLiteral("文字列が「\"」で閉じていません");
    case QJsonParseError::MissingObject: return QStringLiteral("{ } のまとまりがありません");
    case QJsonParseError::DeepNesting: return QStringLiteral("入れ子が深すぎます");
    case QJsonParseError::DocumentTooLarge: return QStringLiteral("大きすぎます");
    case QJsonParseError::GarbageAtEnd: return QStringLiteral("終わりのあとに余分なものがあります");
    default: return QStringLiteral("書き方が正しくありません");
    }
}

// A JSON string token for `text`.
QByteArray Quoted(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

}  // namespace

TSettingsFile SettingsFromJson(const QJsonObject& object)
{
    TSettingsFile file;
    const QJsonValue operation = object.value(QLatin1String(kOperationKey));
    if (!operation.isUndefined()) {
        const TOperationRules* rules = OperationWithKey(operation.toString().toStdString());
        if (!operation.isString() || !rules) {
            QStringList keys;
            for (const TOperationRules& r : Operations()) keys << QStringLiteral("\"%1\"").arg(QLatin1String(r.Key));
            Refuse(QStringLiteral("設定「%1」の値は %2 のどれかです").arg(QLatin1String(kOperationKey), keys.join(QStringLiteral("、"))));
        }
        file.Values.Operation = rules->Operation;
        file.Named.insert(kOperationKey);
    }
    for (const TFlagField& field : FlagFields()) {
        const QJsonValue flag = object.value(QLatin1String(field.Name));
        if (flag.isUndefined()) continue;
        if (!flag.isBool()) Refuse(QStringLiteral("設定「%1」の値は true か false です").arg(QLatin1String(field.Name)));
        file.Values.*field.Member = flag.toBool();
        file.Named.insert(field.Name);
    }
    for (const TTextField& field : TextFields()) {
        const QJsonValue value = object.value(QLatin1String(field.Name));
        if (value.isUndefined()) continue;
        QString text;
        if (value.isString()) {
            text = value.toString();
        } else if (value.isDouble() && field.Member == &TWorksheetSettings::QstSentence) {
            text = value.toVariant().toString();
        } else if (value.isDouble()) {
            // A box that holds a number takes a whole number, written out.
            const double number = value.toDouble();
            if (std::floor(number) != number || std::fabs(number) > 9007199254740992.0)
                Refuse(QStringLiteral("設定「%1」の値 %2 は整数ではありません").arg(field.Name, QString::number(number, 'g', 15)));
            text = QString::number(static_cast<qint64>(number));
        } else {
            Refuse(QStringLiteral("設定「%1」の値が文字列ではありません").arg(field.Name));
        }
        const int32_t longest = field.MaxLength > 0 ? field.MaxLength : kLongestBoxText;
        if (text.size() > longest)
            Refuse(QStringLiteral("設定「%1」の値「%2」は長すぎます（%3 文字まで）")
                       .arg(field.Name, text.size() > 20 ? text.left(20) + QStringLiteral("…") : text)
                       .arg(longest));
        file.Values.*field.Member = text.toStdString();
        file.Named.insert(field.Name);
    }
    for (const TChoiceField& field : ChoiceFields()) {
        const QJsonValue value = object.value(QLatin1String(field.Name));
        if (value.isUndefined()) continue;
        // The range is checked on the number as it stands, before it
        // becomes an int.
        const double number = value.toDouble(-1);
        if (!value.isDouble() || std::floor(number) != number)
            Refuse(QStringLiteral("設定「%1」の値が整数ではありません").arg(field.Name));
        if (!(number >= 0 && number < field.Items))
            Refuse(QStringLiteral("設定「%1」の値 %2 は範囲外です（0～%3）")
                       .arg(field.Name)
                       .arg(QString::number(number, 'g', 12))
                       .arg(field.Items - 1));
        file.Values.*field.Member = static_cast<int32_t>(number);
        file.Named.insert(field.Name);
    }
    if (file.Values.Operation == TOperation::Division)
        for (const char* name : kUnusedDivisorFields)
            if (file.Named.count(name) && file.Values.*TextFieldNamed(name).Member != "0")
                Refuse(QStringLiteral("設定「%1」の値は、わり算では「0」です（わる数は２けたまで）").arg(QLatin1String(name)));
    return file;
}

QJsonObject ParseJsonObject(const QByteArray& text, const QString& what)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    if (utf8.hasError()) Refuse(QStringLiteral("%1が UTF-8 の文字ではありません").arg(what));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        const int line = static_cast<int>(text.left(error.offset).count('\n')) + 1;
        Refuse(QStringLiteral("%1の %2 行目が読めません（%3）").arg(what).arg(line).arg(JsonErrorText(error.error)));
    }
    if (!document.isObject()) Refuse(QStringLiteral("%1の中身が { } で囲まれたひとつのまとまりではありません").arg(what));
    return document.object();
}

TSettingsFile ParseSettingsFile(const QByteArray& text)
{
    const QJsonObject object = ParseJsonObject(text, QStringLiteral("設定ファイル"));
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(kFormat))
        Refuse(QStringLiteral("このファイルは設定ファイルではありません（「format」が \"%1\" ではありません）").arg(kFormat));
    const QJsonValue version = object.value(QStringLiteral("version"));
    const double number = version.toDouble(-1);
    if (!version.isDouble() || std::floor(number) != number || !(number >= 1))
        Refuse(QStringLiteral("設定「version」の値が正しくありません"));
    if (number > kVersion)
        Refuse(QStringLiteral("この設定ファイルは新しい版のプログラムで保存されました（version %1）。"
                              "このプログラムが読めるのは version %2 までです")
                   .arg(QString::number(number, 'g', 12))
                   .arg(kVersion));
    TSettingsFile file = SettingsFromJson(object);
    // A file of the first version, or one that does not say, is a
    // multiplication; a first-version file has no marks.
    file.Named.insert(kOperationKey);
    if (number < 2) {
        file.Values.CarryMarks = false;
        file.Named.insert(kCarryMarksKey);
    }
    return file;
}

TSettingsFile ReadSettingsFile(const QString& path)
{
    // Only a plain file, and only as much as a settings file can be: a pipe
    // would wait for ever, a device would never end.
    const QByteArray name = QFile::encodeName(path);
    const int fd = open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        Refuse(QStringLiteral("ファイル「%1」を開けません（%2）").arg(path, QString::fromStdString(SystemErrorText(errno))));
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        Refuse(QStringLiteral("「%1」はふつうのファイルではないので、設定ファイルとして読めません").arg(path));
    }
    QByteArray text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int code = errno;
            close(fd);
            Refuse(QStringLiteral("ファイル「%1」を読めません（%2）").arg(path, QString::fromStdString(SystemErrorText(code))));
        }
        if (got == 0) break;
        text.append(buffer, got);
        if (text.size() > kLargestSettingsFile) {
            close(fd);
            Refuse(QStringLiteral("ファイル「%1」は設定ファイルにしては大きすぎます（1 MB まで）").arg(path));
        }
    }
    close(fd);
    try {
        return ParseSettingsFile(text);
    } catch (const EFileError& e) {
        // Which file it was, for a teacher who keeps several.
        Refuse(QStringLiteral("設定ファイル「%1」: %2").arg(path, QString::fromUtf8(e.what())));
    }
}

QByteArray SettingsFileText(const TWorksheetSettings& settings)
{
    QByteArray out = QByteArray("{\n  \"format\": \"") + kFormat + "\",\n  \"version\": " + QByteArray::number(kVersion);
    auto key = [&out](const char* name) { out += QByteArray(",\n  \"") + name + "\": "; };
    key(kOperationKey);
    out += QByteArray("\"") + RulesOf(settings.Operation).Key + "\"";
    const std::vector<TTextField>& texts = TextFields();
    // The digit boxes and the answer range, the choices, then the sentence
    // and the sheet number: the order of the window.
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i == texts.size() - 2)
            for (const TChoiceField& choice : ChoiceFields()) {
                key(choice.Name);
                out += QByteArray::number(settings.*choice.Member);
            }
        key(texts[i].Name);
        out += Quoted(QString::fromStdString(settings.*texts[i].Member));
    }
    for (const TFlagField& flag : FlagFields()) {
        key(flag.Name);
        out += settings.*flag.Member ? "true" : "false";
    }
    return out + "\n}\n";
}

void ApplyNamed(const TSettingsFile& file, TWorksheetSettings& target)
{
    if (file.Named.count(kOperationKey)) target.Operation = file.Values.Operation;
    for (const TFlagField& field : FlagFields())
        if (file.Named.count(field.Name)) target.*field.Member = file.Values.*field.Member;
    for (const TTextField& field : TextFields())
        if (file.Named.count(field.Name)) target.*field.Member = file.Values.*field.Member;
    for (const TChoiceField& field : ChoiceFields())
        if (file.Named.count(field.Name)) target.*field.Member = file.Values.*field.Member;
}
