// hopvane-fetch run as a program of its own, its output read through a pipe.
#include "platform/environment.h"
#include "platform/win32/wide_text.h"
#include "tests/net/scripted_server.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

namespace {

using net_test::ConnectionScript;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;

std::string ToolPath()
{
    const std::string tests = platform::ExecutablePath();
    return tests.substr(0, tests.find_last_of('\\') + 1) +
           "..\\tools\\hopvane_fetch\\hopvane-fetch.exe";
}

struct RunResult {
    DWORD exitCode = 0;
    std::string output;
};

RunResult RunTool(const std::string& url)
{
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
        throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring program = platform::win32::ToWide(ToolPath());
    std::wstring commandLine = L"\"" + program + L"\" " + platform::win32::ToWide(url);
    PROCESS_INFORMATION started{};
    const BOOL created = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        0, nullptr, nullptr, &startup, &started);
    CloseHandle(writeEnd);
    if (!created) {
        CloseHandle(readEnd);
        throw std::runtime_error("cannot start " + ToolPath());
    }
    RunResult result;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        result.output.append(buffer, got);
    CloseHandle(readEnd);
    WaitForSingleObject(started.hProcess, 30000);
    GetExitCodeProcess(started.hProcess, &result.exitCode);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return result;
}

TEST(Win32FetchTool, WritesTheBodyByteForByte)
{
    // A lone LF and a CR LF: text-mode output would turn the first into the second.
    const std::string body = "1.2.3.4:80\n5.6.7.8:8080\r\n";
    ScriptedServer server({std::move(ConnectionScript().ReadRequest().Send(
        ReplyWithBody("HTTP/1.1 200 OK", "Content-Type: application/octet-stream\r\n", body)))});
    const RunResult run = RunTool(server.Url("/hopvane/proxylist/proxy.txt"));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, body);
}

} // namespace
