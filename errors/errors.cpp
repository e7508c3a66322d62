#include "errors/errors.h"

#include <system_error>

std::string SystemErrorMessage(int code, const std::string& detail)
{
    std::string message = code == 0 ? std::string("OS 機能呼び出しの失敗")
                                     : "システムエラー。コード：" + std::to_string(code) + ".\r\n" +
                                           std::system_category().message(code);
    if (!detail.empty()) message += "\r\n" + detail;
    return message;
}

std::string WithFinalPeriod(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}
