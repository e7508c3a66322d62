// The scheduler conversation against a private CUPS scheduler (CUPS_SERVER,
// started by the test fixture) and against schedulers that are not there.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "printing/cups_session.h"
#include "socket_stubs.h"
#include "errors/errors.h"

using namespace std::chrono_literals;

namespace {

// A one-page blank PDF.
const std::string kBlankPdf =
    "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
    "2 0 obj<</Type/Pages/Kids[3 0 R]/Count 1>>endobj\n"
    "3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 595 842]>>endobj\n"
    "trailer<</Root 1 0 R>>\n%%EOF\n";

TCupsServer At(const std::string& path)
{
    TCupsServer server = CurrentCupsServer();
    server.Host = path;
    return server;
}

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(nothing raised)";
}

}  // namespace

TEST(CupsSession, SchedulersThatAreNotThereAreSystemErrorsWithTheirCause)
{
    const TSilentListener silent;
    const TStaleSocket stale;
    struct TCase {
        std::string Path;
        int Code;
        const char* Cause;
    } cases[] = {
        {"/tmp/tavelin-no-such-scheduler.sock", ENOENT, "に接続できません"},
        {stale.Path(), ECONNREFUSED, "に接続できません"},
        {silent.Path(), ETIMEDOUT, "秒以内に応答しませんでした"},
    };
    for (const TCase& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const std::string message = MessageOf([&] { TCupsSession(At(c.Path), 500ms).DefaultDestination(); });
        const auto took = std::chrono::steady_clock::now() - start;
        SCOPED_TRACE(c.Path + ": " + message);
        EXPECT_EQ(message.rfind("システムエラー。コード：" + std::to_string(c.Code) + ".\r\n", 0), 0u);
        EXPECT_NE(message.find(c.Cause), std::string::npos);
        EXPECT_NE(message.find(c.Path), std::string::npos);
        EXPECT_EQ(message.find("Success"), std::string::npos);
        EXPECT_LT(took, 5s);
    }
}

TEST(CupsSession, SchedulersOverTheNetworkAreToldByTheirRealCause)
{
    TCupsServer refusing = CurrentCupsServer(), unknown = refusing;
    refusing.Host = "127.0.0.1";
    refusing.Port = 1;
    unknown.Host = "nohost.invalid";
    const std::string refused = MessageOf([&] { TCupsSession(refusing, 500ms).DefaultDestination(); });
    EXPECT_EQ(refused.rfind("システムエラー。コード：" + std::to_string(ECONNREFUSED) + ".\r\n接続を断られました", 0), 0u) << refused;
    EXPECT_NE(refused.find("127.0.0.1:1"), std::string::npos) << refused;
    const std::string nowhere = MessageOf([&] { TCupsSession(unknown, 500ms).DefaultDestination(); });
    EXPECT_EQ(nowhere.rfind("印刷サービスのコンピュータ「nohost.invalid」が見つかりません", 0), 0u) << nowhere;
}

TEST(CupsSession, AddressesThatAreNotPrintServicesAreToldByTheirRealCause)
{
    const TNotAPrintService web;
    TCupsServer ipv6 = CurrentCupsServer(), notCups = ipv6;
    ipv6.Host = "[::1]";
    ipv6.Port = 1;
    notCups.Host = "127.0.0.1";
    notCups.Port = web.Port();
    // An address written in brackets is an address, not an unknown name.
    const std::string refused = MessageOf([&] { TCupsSession(ipv6, 500ms).DefaultDestination(); });
    EXPECT_EQ(refused.rfind("システムエラー。コード：", 0), 0u) << refused;
    EXPECT_EQ(refused.find("見つかりません"), std::string::npos) << refused;
    EXPECT_NE(refused.find("[::1]:1"), std::string::npos) << refused;
    // A web server answers, but it is no print service: no "no default printer".
    const std::string web404 = MessageOf([&] { TCupsSession(notCups, 2s).DefaultDestination(); });
    EXPECT_NE(web404.find("印刷サービスではありません（HTTP 404）"), std::string::npos) << web404;
}

// A busy or remote server sends an answer's header at once and its body
// later: the whole answer is waited for, within the time-out.
TEST(CupsSession, AnswersThatArriveInTwoPartsAreWaitedFor)
{
    for (const auto delay : {300ms, 800ms}) {
        SCOPED_TRACE(std::to_string(delay.count()) + " ms");
        const TSplittingRelay relay(CurrentCupsServer().Host, delay);
        EXPECT_EQ(TCupsSession(At(relay.Path()), 3s).DefaultDestination(), "TavelinPDF");
        EXPECT_GT(TCupsSession(At(relay.Path()), 3s).SubmitPdf("TavelinPDF", "Tavelin", {{"media", "A4"}}, kBlankPdf), 0);
    }
    // Longer than the time-out, it is a time-out.
    const TSplittingRelay slow(CurrentCupsServer().Host, 1200ms);
    const std::string late = MessageOf([&] { TCupsSession(At(slow.Path()), 500ms).DefaultDestination(); });
    EXPECT_EQ(late.rfind("システムエラー。コード：" + std::to_string(ETIMEDOUT) + ".", 0), 0u) << late;
}

TEST(CupsSession, FindsTheDefaultDestination)
{
    EXPECT_EQ(TCupsSession(CurrentCupsServer(), 10s).DefaultDestination(), "TavelinPDF");
}

TEST(CupsSession, AJobCountsOnlyWhenTheSchedulerTookIt)
{
    struct TCase {
        const char* Printer;
        const char* Refusal;  // null: accepted
    } cases[] = {
        {"TavelinPDF", nullptr},
        {"TavelinRefuses", "プリンタ「TavelinRefuses」は今、印刷を受け付けていません。プリントは印刷されていません"},
        {"TavelinGone", "プリンタ「TavelinGone」が見つかりません"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Printer);
        TCupsSession session(CurrentCupsServer(), 10s);
        if (!c.Refusal) {
            EXPECT_GT(session.SubmitPdf(c.Printer, "Tavelin", {{"media", "A4"}}, kBlankPdf), 0);
            continue;
        }
        try {
            session.SubmitPdf(c.Printer, "Tavelin", {}, kBlankPdf);
            ADD_FAILURE() << "accepted";
        } catch (const EPrinter& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.Refusal, 0), 0u) << e.what();
        }
    }
}

TEST(CupsSession, TimeOutComesFromTheEnvironment)
{
    struct TCase {
        const char* Text;
        std::chrono::milliseconds Expected;
    } cases[] = {{"2.5", 2500ms}, {"0.1", 100ms}, {"0", 10s}, {"abc", 10s}, {"5s", 10s}, {"601", 10s}};
    for (const TCase& c : cases) {
        setenv("TAVELIN_PRINT_TIMEOUT", c.Text, 1);
        EXPECT_EQ(SpoolTimeout(), c.Expected) << c.Text;
    }
    unsetenv("TAVELIN_PRINT_TIMEOUT");
    EXPECT_EQ(SpoolTimeout(), 10s);
}
