// hopvane-fetch: one GET through the program's HTTP client, for debugging and
// benchmarks. Prints the body (or writes it into a file) and, on failure, the
// client's exact message.

#include "net/file_stream.h"
#include "net/http_client.h"
#include "tools/hopvane_fetch/error_message.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr char kUsage[] =
    "usage: hopvane-fetch [--proxy HOST:PORT] [--stream FILE] [--progress] URL\n";

struct Options {
    std::string proxyHost;
    int proxyPort = 0;
    std::optional<std::string> streamFile;
    bool progress = false;
    std::string url;
};

bool ParseProxy(const std::string& text, Options& options)
{
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size() ||
        text.find_first_not_of("0123456789", colon + 1) != std::string::npos ||
        text.size() - colon > 6)
        return false;
    options.proxyHost = text.substr(0, colon);
    options.proxyPort = std::stoi(text.substr(colon + 1));
    return true;
}

std::optional<Options> ParseArguments(int argc, char** argv)
{
    Options options;
    bool haveUrl = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--proxy" && i + 1 < argc) {
            if (!ParseProxy(argv[++i], options))
                return std::nullopt;
        } else if (argument == "--stream" && i + 1 < argc) {
            options.streamFile = argv[++i];
        } else if (argument == "--progress") {
            options.progress = true;
        } else if (!haveUrl && (argument.empty() || argument.front() != '-')) {
            options.url = std::string(argument);
            haveUrl = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveUrl)
        return std::nullopt;
    return options;
}

void Fetch(const Options& options)
{
    net::HttpClient client;
    if (!options.proxyHost.empty()) {
        client.SetProxyHostName(options.proxyHost);
        client.SetProxyPortNumber(options.proxyPort);
    }
    if (options.progress) {
        client.SetOnProgress([](net::HttpClient&, net::WorkMode, std::int64_t count) {
            std::cerr << "progress " << count << '\n';
        });
    }
    if (options.streamFile) {
        // The body goes into the file as it arrives.
        net::FileStream file(*options.streamFile);
        client.GetStream(options.url, file);
    } else {
        const std::string text = client.GetText(options.url);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The body's bytes as they came, with no CR put before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const auto options = ParseArguments(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        Fetch(*options);
    } catch (const std::exception& error) {
        std::cerr << hopvane_fetch::ErrorMessage(error) << '\n';
        return 1;
    }
    return 0;
}
