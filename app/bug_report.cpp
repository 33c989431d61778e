#include "app/bug_report.h"

#include "platform/files.h"

namespace app {

namespace {

// A message spread over several lines keeps its line breaks, indented, so
// every line of the file still belongs to one field.
std::string Indented(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\r')
            continue;
        out += c;
        if (c == '\n')
            out += "  ";
    }
    return out;
}

} // namespace

std::string FormatBugReport(const BugReport& report)
{
    std::string text;
    const auto field = [&text](const char* name, const std::string& value) {
        text += name;
        text += ": ";
        text += Indented(value);
        text += "\r\n";
    };
    field("Application", report.applicationTitle + " " + report.version);
    field("Time", report.time);
    field("System", report.system);
    field("Handler", report.handler);
    field("Error", report.errorClass);
    field("Message", report.message);
    text += "\r\n";
    return text;
}

void AppendBugReport(const std::string& dataFolder, const BugReport& report)
{
    platform::AppendToFile(dataFolder + "bugreport.txt", FormatBugReport(report));
}

} // namespace app
