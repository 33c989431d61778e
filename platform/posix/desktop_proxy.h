#pragma once

#include "platform/proxy_settings.h"

namespace platform {

// GNOME's proxy settings (org.gnome.system.proxy and its http, https, ftp
// and socks children) in the user's GSettings. Keys are named "mode" and
// "CHILD.KEY"; values are GVariant text, none where the key is at its
// default. Where no GNOME session is reachable it is not in use and writes
// nothing; errors of the desktop's own services are ignored.
class GnomeProxySettings final : public ProxySettingsStore {
public:
    std::string Name() const override { return "gnome"; }
    bool InUse() override;
    ProxyValues Read() override;
    ProxyValues ValuesFor(const ProxyServer& server) const override;
    ProxyValues SwitchedOff(const ProxyValues& current,
                            const std::optional<ProxyServer>& server) const override;
    void Write(const ProxyValues& values) override;
};

// KDE's [Proxy Settings] in the user's kioslaverc; values are the text after
// "=", none where the key is absent. In use where the file exists or a KDE
// session runs. KIO's workers are told to reread it after each write; a file
// that can't be read or written is passed over.
class KdeProxySettings final : public ProxySettingsStore {
public:
    std::string Name() const override { return "kde"; }
    bool InUse() override;
    ProxyValues Read() override;
    ProxyValues ValuesFor(const ProxyServer& server) const override;
    ProxyValues SwitchedOff(const ProxyValues& current,
                            const std::optional<ProxyServer>& server) const override;
    void Write(const ProxyValues& values) override;
};

} // namespace platform
