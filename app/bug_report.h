#pragma once

#include <string>

namespace app {

// What the error report tells about an error that escaped a handler.
struct BugReport {
    std::string applicationTitle;
    std::string version;
    std::string time; // local time, "YYYY-MM-DD HH:MM:SS"
    std::string system;
    std::string handler;
    std::string errorClass;
    std::string message;
};

// The report as readable text, one "Field: value" per line, ended by a blank
// line so that reports appended one after another stay apart.
std::string FormatBugReport(const BugReport& report);

// Appends the report to "bugreport.txt" in the data folder. Throws
// platform::FileError when the file can't be written.
void AppendBugReport(const std::string& dataFolder, const BugReport& report);

} // namespace app
