#include "errors/errors.h"

#include <algorithm>
#include <cerrno>
#include <new>

std::string SystemErrorText(int code)
{
    switch (code) {
    case ENOENT: return "ファイルやフォルダがありません";
    case EACCES:
    case EPERM: return "権限がありません";
    case ENOSPC:
    case EDQUOT: return "ディスクがいっぱいです";
    case EFBIG: return "ファイルが大きすぎます（書ける大きさの上限をこえました）";
    case ENOTDIR: return "フォルダではありません";
    case EISDIR: return "フォルダです";
    case EROFS: return "読み取り専用の場所です";
    case EEXIST: return "すでにあります";
    case ENAMETOOLONG: return "名前が長すぎます";
    case EIO: return "読み書きの途中でエラーが起きました";
    case ECONNREFUSED: return "接続を断られました（相手が動いていません）";
    case ETIMEDOUT: return "時間内に応答がありませんでした";
    case EHOSTUNREACH:
    case ENETUNREACH: return "相手のコンピュータに届きません";
    case EHOSTDOWN: return "相手のコンピュータが動いていません";
    case ECONNRESET:
    case EPIPE: return "接続が切れました";
    case ELOOP: return "リンクのたどり先が多すぎます（リンクが輪になっています）";
    case ENXIO:
    case ENODEV: return "その装置がありません";
    case EBUSY:
    case ETXTBSY: return "ほかのプログラムが使っています";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENOMEM: return "メモリが足りません";
    case EINVAL: return "この場所では使えない名前か操作です";
    case EAGAIN: return "いまは使えません（しばらくしてからもう一度ためしてください）";
    case EXDEV: return "別のディスクへは移せません";
    case ENOTEMPTY: return "フォルダが空ではありません";
    case EMLINK: return "リンクが多すぎます";
    case ESTALE: return "ネットワークのファイルが古くなりました（開き直してください）";
    case EOVERFLOW: return "大きすぎて扱えません";
    case EINTR: return "途中で止められました";
    case ENOTSUP: return "この場所ではできない操作です";
    case ESPIPE: return "ふつうのファイルではありません";
    case ENOTCONN: return "つながっていません";
    case ENOEXEC:
    case ENOTTY: return "この種類のファイルには使えません";
    default: return "システムのエラーです（番号 " + std::to_string(code) + "）";
    }
}

std::string SystemErrorMessage(int code, const std::string& detail)
{
    std::string message = code == 0 ? std::string("OS 機能呼び出しの失敗")
                                     : "システムエラー。コード：" + std::to_string(code) + ".\r\n" + SystemErrorText(code);
    if (!detail.empty()) message += "\r\n" + detail;
    return message;
}

namespace {

const char* const kFullStop = "。";

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The messages of the original window, which its error box ends with ".":
// the conversion error, the printer's four, and a bare system error.
bool IsOriginalMessage(const std::string& message)
{
    const size_t lineStart = message.rfind('\n');
    const std::string last = lineStart == std::string::npos ? message : message.substr(lineStart + 1);
    static const char* const printer[] = {"デフォルト プリンタが存在しません", "選択されたプリンタではサポートされていない機能です",
                                          "選択したプリンタは有効ではありません", "現在印刷中です", "OS 機能呼び出しの失敗"};
    for (const char* text : printer)
        if (last == text) return true;
    if (EndsWith(last, "' は整数ではありません") && !last.empty() && last.front() == '\'') return true;
    // "システムエラー。コード：5.\r\n<the system's text>", with no line of ours after it.
    return message.rfind("システムエラー。コード：", 0) == 0 && std::count(message.begin(), message.end(), '\n') == 1;
}

}  // namespace

std::string WithFinalPeriod(const std::string& message)
{
    if (message.empty() || EndsWith(message, kFullStop)) return message;
    // A message of the program's own, in Japanese, ends as Japanese does.
    if (static_cast<unsigned char>(message.back()) >= 0x80 && !IsOriginalMessage(message)) return message + kFullStop;
    if (static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) return message + ".";
    return message;
}

std::string MessageOf(const std::exception& error)
{
    if (dynamic_cast<const std::bad_alloc*>(&error)) return "メモリが足りません。終わりまでできなかったので、何も書いていません";
    if (dynamic_cast<const std::length_error*>(&error)) return "大きすぎて扱えません";
    return error.what();
}

std::string ReasonOf(const std::exception& error)
{
    if (const auto* reasoned = dynamic_cast<const EReasoned*>(&error)) return reasoned->Reason();
    return error.what();
}
