#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// A proxy server as the user's programs are pointed at it.
struct ProxyServer {
    std::string host;
    std::uint16_t port = 0;

    // "HOST:PORT", as the system proxy setting holds it.
    std::string Text() const;
};

// "HOST:PORT" as Text makes it; none for any other text.
std::optional<ProxyServer> ParseProxyServer(std::string_view text);

// None for port 0 or a host of other characters than the letters, digits and
// ".-_" of host names and addresses: the text comes from the network and ends
// up in other programs' settings, where ";", "=", blanks or quotes mean more.
std::optional<ProxyServer> MakeProxyServer(std::string_view host, std::uint16_t port);

// A value in a text form of its store's own; none where the store holds no
// value of the user's (the key is absent, or at its default).
using ProxyValue = std::optional<std::string>;
using ProxyValues = std::vector<std::pair<std::string, ProxyValue>>;

// The value of the key among the values; none when it is not among them.
ProxyValue ValueOf(const ProxyValues& values, std::string_view key);

// One place where the user's programs find their web proxy: the system's
// Internet Settings key, and on Linux the desktops' own settings.
class ProxySettingsStore {
public:
    virtual ~ProxySettingsStore() = default;

    // Names the store in the applied-proxy note; never changes.
    virtual std::string Name() const = 0;
    // Whether programs of this session read the store at all.
    virtual bool InUse() = 0;
    // What the store holds now of every key that ValuesFor sets; nothing at
    // all when it can't be read now, and then it is left alone.
    virtual ProxyValues Read() = 0;
    // Every key that sends the user's programs through the server and
    // nothing of the user's own: no credentials of theirs offered to it, no
    // proxy of theirs for other protocols beside it.
    virtual ProxyValues ValuesFor(const ProxyServer& server) const = 0;
    // The values that switch a proxy off when nothing tells what the store
    // held before it: only the server's, where it is known and the store
    // still points at it, or what the system's own switch-off has always
    // done.
    virtual ProxyValues SwitchedOff(const ProxyValues& current,
                                    const std::optional<ProxyServer>& server) const = 0;
    // Writes the values in their order (a value of none removes the key),
    // then tells the programs that read the store.
    virtual void Write(const ProxyValues& values) = 0;
};

// The stores of this system, in the order they are written.
std::vector<ProxySettingsStore*> SystemProxySettingsStores();

} // namespace platform
