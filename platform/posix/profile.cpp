#include "platform/profile.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/ini_text.h"
#include "platform/posix/file_lock.h"
#include "platform/text_codec.h"

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace platform {

namespace {

// The lock that writers of one INI file take turns at, in the runtime folder:
// a lock file beside the user's own file would stay there for good. Named
// after the file's folder as the system resolves it, so every path to the
// same file meets at the same lock.
std::string LockPathFor(const std::string& iniPath)
{
    const auto slash = iniPath.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : iniPath.substr(0, slash));
    char resolved[PATH_MAX];
    const std::string canonical = (realpath(folder.c_str(), resolved) ? resolved : folder) + "/" +
                                  iniPath.substr(slash == std::string::npos ? 0 : slash + 1);
    std::uint64_t hash = 0xcbf29ce484222325ULL; // FNV-1a
    for (const char c : canonical) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    char name[32];
    std::snprintf(name, sizeof name, "ini-%016llx.lock", static_cast<unsigned long long>(hash));
    const std::string runtime = RuntimeFolder();
    posix::MakeDirectories(runtime);
    return runtime + "/" + name;
}

// A file's text in memory and how it goes back to disk.
struct IniFile {
    TextEncoding encoding = TextEncoding::Utf8;
    bool hasByteOrderMark = false;
    std::string text;
};

IniFile Decoded(std::string_view bytes)
{
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        const std::string_view mark = ByteOrderMark(encoding);
        if (bytes.substr(0, mark.size()) == mark)
            return {encoding, true, DecodeText(bytes.substr(mark.size()), encoding)};
    }
    // Without a mark the file is UTF-8, kept as it is so that a rewrite
    // changes no byte of the other lines.
    return {TextEncoding::Utf8, false, std::string(bytes)};
}

std::string Encoded(const IniFile& file, std::string_view text)
{
    if (!file.hasByteOrderMark)
        return std::string(text);
    return std::string(ByteOrderMark(file.encoding)) + EncodeText(text, file.encoding);
}

// The profile functions ignore trailing blanks of the default.
std::string_view WithoutTrailingSpaces(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// Nothing is cached: every read opens the file afresh, and every write has
// reached the file when it returns.
class FileProfile : public Profile {
public:
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferChars,
                           const std::string& path) override
    {
        std::optional<std::string> value;
        try {
            value = FindIniValue(Decoded(ReadWholeFile(path)).text, section, key);
        } catch (const FileError&) {
            // A file that can't be read has no keys.
        }
        const std::string text = value ? DecodeText(*value, TextEncoding::Utf8)
                                       : std::string(WithoutTrailingSpaces(defaultValue));
        return Utf16Prefix(text, bufferChars == 0 ? 0 : bufferChars - 1);
    }

    bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                     const std::string& path) override
    {
        try {
            const posix::FileLock lock(LockPathFor(path), posix::FileLock::Mode::Exclusive);
            IniFile file;
            if (FileExists(path)) {
                // A read-only file is not to be changed, though its folder
                // would allow replacing it.
                if (access(path.c_str(), W_OK) != 0)
                    return false;
                file = Decoded(ReadWholeFile(path));
            }
            ReplaceFileContent(path, Encoded(file, SetIniValue(file.text, section, key, value)));
            return true;
        } catch (const FileError&) {
            return false;
        }
    }

    void Flush(const std::string&) override {}
};

} // namespace

Profile& SystemProfile()
{
    static FileProfile profile;
    return profile;
}

} // namespace platform
