#include "errors/errors.h"

#include <cerrno>
#include <system_error>

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
    default: return std::system_category().message(code);
    }
}

std::string SystemErrorMessage(int code, const std::string& detail)
{
    std::string message = code == 0 ? std::string("OS 機能呼び出しの失敗")
                                     : "システムエラー。コード：" + std::to_string(code) + ".\r\n" + SystemErrorText(code);
    if (!detail.empty()) message += "\r\n" + detail;
    return message;
}

std::string WithFinalPeriod(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

std::string ReasonOf(const std::exception& error)
{
    if (const auto* reasoned = dynamic_cast<const EReasoned*>(&error)) return reasoned->Reason();
    return error.what();
}
