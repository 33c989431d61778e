#include "platform/files.h"
#include "platform/posix/file_lock.h"
#include "platform/posix/hive_format.h"
#include "platform/posix/hive_registry.h"
#include "tests/support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace platform::posix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

constexpr const char* kHopvaneKey = "Software\\Kelbrin\\Hopvane\\";

// A value as another process sees it: through a registry object of its own.
WinError ReadValue(const std::string& hivePath, std::string_view subKey, std::string_view name,
                   std::uint32_t* type, Bytes* data)
{
    HiveRegistry registry(hivePath);
    Registry::Key key = Registry::kNoKey;
    const WinError opened = registry.CreateKey(subKey, kKeyRead, &key);
    if (opened != kErrorSuccess)
        return opened;
    const WinError result = registry.QueryValue(key, name, type, data);
    registry.CloseKey(key);
    return result;
}

class HiveRegistryTest : public testing::Test {
protected:
    Registry::Key Open(std::string_view subKey, std::uint32_t access)
    {
        Registry::Key key = Registry::kNoKey;
        EXPECT_EQ(registry_.CreateKey(subKey, access, &key), kErrorSuccess) << subKey;
        EXPECT_NE(key, Registry::kNoKey);
        return key;
    }

    std::string HiveText() const { return ReadFileBytes(hivePath_); }

    TempDir dir_;
    const std::string hivePath_ = dir_.File("state/HKCU.reg");
    HiveRegistry registry_{hivePath_};
};

TEST_F(HiveRegistryTest, WritesTheReadableExportFormat)
{
    const Registry::Key key = Open(kHopvaneKey, kKeyRead | kKeyWrite);
    EXPECT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    const Registry::Key proxy =
        Open("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", kKeyWrite);
    EXPECT_EQ(registry_.SetValue(proxy, "ProxyServer", kRegSz, RegSzData("10.0.0.1:3128")),
              kErrorSuccess);
    EXPECT_EQ(registry_.SetValue(proxy, "ProxyEnable", kRegDword, RegDwordData(1)), kErrorSuccess);
    registry_.CloseKey(key);
    registry_.CloseKey(proxy);

    EXPECT_EQ(HiveText(), "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Kelbrin]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Kelbrin\\Hopvane]\n"
                          "\"Lang\"=\"en\"\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Microsoft]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                          "Internet Settings]\n"
                          "\"ProxyServer\"=\"10.0.0.1:3128\"\n"
                          "\"ProxyEnable\"=dword:00000001\n\n");
}

TEST_F(HiveRegistryTest, CreatingAKeyWritesItEvenWithoutValues)
{
    registry_.CloseKey(Open("Software\\Empty", kKeyRead));
    EXPECT_EQ(HiveText(), "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Empty]\n\n");
}

TEST_F(HiveRegistryTest, ValuesReadBackByteForByteInAnotherRegistryObject)
{
    const std::vector<std::pair<std::uint32_t, Bytes>> values = {
        {kRegSz, RegSzData("a \"quoted\" C:\\path\\ \xC4\x8C")},
        {kRegSz, Bytes{0x41, 0, 0}},
        {kRegSz, Bytes{}},
        {kRegDword, Bytes{1, 2}},
        {kRegBinary, Bytes{0, 0xFF, 0x0A}},
    };
    const Registry::Key key = Open(kHopvaneKey, kKeyWrite);
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(
            registry_.SetValue(key, "v" + std::to_string(i), values[i].first, values[i].second),
            kErrorSuccess);
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(i);
        std::uint32_t type = 0;
        Bytes data;
        ASSERT_EQ(ReadValue(hivePath_, kHopvaneKey, "V" + std::to_string(i), &type, &data),
                  kErrorSuccess);
        EXPECT_EQ(type, values[i].first);
        EXPECT_EQ(data, values[i].second);
    }
}

TEST_F(HiveRegistryTest, NamesIgnoreCaseAndKeepTheCaseOfTheirCreation)
{
    const Registry::Key key = Open("Software\\Kelbrin", kKeyWrite);
    ASSERT_EQ(registry_.SetValue(key, "ProxyEnable", kRegDword, RegDwordData(1)), kErrorSuccess);
    const Registry::Key shouted = Open("SOFTWARE\\KELBRIN\\", kKeyRead | kKeyWrite);
    ASSERT_EQ(registry_.SetValue(shouted, "PROXYENABLE", kRegDword, RegDwordData(0)),
              kErrorSuccess);

    std::uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(registry_.QueryValue(shouted, "proxyenable", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegDwordData(0));
    EXPECT_EQ(HiveText(), "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Kelbrin]\n"
                          "\"ProxyEnable\"=dword:00000000\n\n");
}

TEST_F(HiveRegistryTest, MalformedPathsAreRefused)
{
    for (const std::string& bad :
         std::vector<std::string>{"\\Software\\Microsoft", "Software\\\\Kelbrin", "\\",
                                  "Software\\Kelbrin\\\\", "Soft\nware"}) {
        SCOPED_TRACE(bad);
        Registry::Key key = 99;
        EXPECT_EQ(registry_.CreateKey(bad, kKeyWrite, &key), kErrorBadPathname);
        EXPECT_EQ(key, Registry::kNoKey);
    }
    EXPECT_FALSE(FileExists(hivePath_));
}

TEST_F(HiveRegistryTest, TheAccessMaskDecidesWhatAHandleMayDo)
{
    const Registry::Key writeOnly = Open(kHopvaneKey, kKeyWrite);
    ASSERT_EQ(registry_.SetValue(writeOnly, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    std::uint32_t type = 0;
    Bytes data;
    EXPECT_EQ(registry_.QueryValue(writeOnly, "Lang", &type, &data), kErrorAccessDenied);

    const Registry::Key readOnly = Open(kHopvaneKey, kKeyRead);
    EXPECT_EQ(registry_.SetValue(readOnly, "Lang", kRegSz, RegSzData("cz")), kErrorAccessDenied);
    ASSERT_EQ(registry_.QueryValue(readOnly, "Lang", &type, &data), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data, RegSzData("en"));

    const Registry::Key createOnly = Open(kHopvaneKey, kKeyCreateSubKey);
    EXPECT_EQ(registry_.SetValue(createOnly, "Lang", kRegSz, RegSzData("cz")), kErrorAccessDenied);
    EXPECT_EQ(registry_.QueryValue(createOnly, "Lang", &type, &data), kErrorAccessDenied);
}

TEST_F(HiveRegistryTest, MissingValuesAndKeysReadAsFileNotFound)
{
    const Registry::Key key = Open(kHopvaneKey, kKeyRead | kKeyWrite);
    std::uint32_t type = 0;
    Bytes data;
    EXPECT_EQ(registry_.QueryValue(key, "Lang", &type, &data), kErrorFileNotFound);

    ASSERT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    // Another process removes the key from the file meanwhile.
    WriteFileBytes(hivePath_, "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\Software]\n\n");
    EXPECT_EQ(registry_.QueryValue(key, "Lang", &type, &data), kErrorFileNotFound);

    // A write through the handle puts the key back.
    ASSERT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("cz")), kErrorSuccess);
    ASSERT_EQ(registry_.QueryValue(key, "Lang", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegSzData("cz"));
}

TEST_F(HiveRegistryTest, DeletedValuesAreGoneForOtherProcesses)
{
    const Registry::Key key = Open(kHopvaneKey, kKeyWrite);
    ASSERT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    EXPECT_EQ(registry_.DeleteValue(Open(kHopvaneKey, kKeyRead), "Lang"), kErrorAccessDenied);
    EXPECT_EQ(registry_.DeleteValue(key, "LANG"), kErrorSuccess);
    std::uint32_t type = 0;
    Bytes data;
    EXPECT_EQ(ReadValue(hivePath_, kHopvaneKey, "Lang", &type, &data), kErrorFileNotFound);
    EXPECT_EQ(registry_.DeleteValue(key, "Lang"), kErrorFileNotFound);
}

TEST_F(HiveRegistryTest, ClosedAndUnknownHandlesAreInvalid)
{
    const Registry::Key key = Open(kHopvaneKey, kKeyRead | kKeyWrite);
    registry_.CloseKey(key);
    registry_.CloseKey(key);
    registry_.CloseKey(4242);
    std::uint32_t type = 0;
    Bytes data;
    for (const Registry::Key bad : {key, Registry::Key{4242}, Registry::kNoKey}) {
        EXPECT_EQ(registry_.SetValue(bad, "Lang", kRegSz, RegSzData("en")), kErrorInvalidHandle);
        EXPECT_EQ(registry_.QueryValue(bad, "Lang", &type, &data), kErrorInvalidHandle);
    }
    EXPECT_EQ(registry_.CreateKey(kHopvaneKey, kKeyRead, nullptr), kErrorInvalidParameter);
}

TEST_F(HiveRegistryTest, ValueNamesThatCannotBeStoredAreRefused)
{
    const Registry::Key key = Open(kHopvaneKey, kKeyWrite);
    EXPECT_EQ(registry_.SetValue(key, "two\nlines", kRegSz, RegSzData("x")),
              kErrorInvalidParameter);
    EXPECT_EQ(HiveText().find("two"), std::string::npos);
}

TEST_F(HiveRegistryTest, WritesKeepWhatOthersChangedInTheFileMeanwhile)
{
    const Registry::Key key = Open(kHopvaneKey, kKeyRead | kKeyWrite);
    ASSERT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    WriteFileBytes(hivePath_, HiveText() + "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                                           "\"Edited\"=dword:00000005\r\n");
    ASSERT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("cz")), kErrorSuccess);

    std::uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(ReadValue(hivePath_, "Software\\Other", "Edited", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegDwordData(5));
    ASSERT_EQ(registry_.QueryValue(key, "Lang", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegSzData("cz"));
}

TEST_F(HiveRegistryTest, AMalformedHiveKeepsItsGoodPartsAndIsWrittenCleanly)
{
    ASSERT_TRUE(MakeDirectories(dir_.File("state")));
    WriteFileBytes(hivePath_, "Windows Registry Editor Version 5.00\r\n\r\n"
                              "\x01\x02 not a line of ours\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Kelbrin\\Hopvane]\r\n"
                              "\"Lang\"=\"cz\"\r\n"
                              "\"Broken\"=dword:zz\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Kelbrin\\Hopvane\r\n");
    const Registry::Key key = Open(kHopvaneKey, kKeyRead | kKeyWrite);
    std::uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(registry_.QueryValue(key, "Lang", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegSzData("cz"));
    EXPECT_EQ(registry_.QueryValue(key, "Broken", &type, &data), kErrorFileNotFound);

    ASSERT_EQ(registry_.SetValue(key, "Other", kRegDword, RegDwordData(2)), kErrorSuccess);
    EXPECT_EQ(HiveText(), "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Kelbrin]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Kelbrin\\Hopvane]\n"
                          "\"Lang\"=\"cz\"\n"
                          "\"Other\"=dword:00000002\n\n");
}

// As root, permission bits do not stop writes, and there is nothing to test.
bool FolderRefusesNewFiles(const std::string& folder)
{
    const std::string probe = folder + "/probe";
    const int fd = open(probe.c_str(), O_CREAT | O_WRONLY, 0600);
    if (fd < 0)
        return true;
    close(fd);
    unlink(probe.c_str());
    return false;
}

TEST_F(HiveRegistryTest, AHiveThatCannotBeWrittenStillOpensExistingKeys)
{
    const Registry::Key key = Open(kHopvaneKey, kKeyRead | kKeyWrite);
    ASSERT_EQ(registry_.SetValue(key, "Lang", kRegSz, RegSzData("en")), kErrorSuccess);
    registry_.CloseKey(key);
    const std::string before = HiveText();
    const std::string folder = dir_.File("state");
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    if (!FolderRefusesNewFiles(folder))
        GTEST_SKIP() << "permission bits do not stop this user from writing";

    Registry::Key existing = Registry::kNoKey;
    ASSERT_EQ(registry_.CreateKey("software\\kelbrin\\hopvane", kKeyRead | kKeyWrite, &existing),
              kErrorSuccess);
    std::uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(registry_.QueryValue(existing, "Lang", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegSzData("en"));
    EXPECT_EQ(registry_.SetValue(existing, "Lang", kRegSz, RegSzData("cz")), kErrorAccessDenied);

    Registry::Key missing = 99;
    EXPECT_EQ(registry_.CreateKey("Software\\Microsoft", kKeyWrite, &missing), kErrorAccessDenied);
    EXPECT_EQ(missing, Registry::kNoKey);
    EXPECT_EQ(HiveText(), before);
}

TEST(HiveRegistryUnwritable, AFolderWithoutALockFileStillReadsAndRefusesWrites)
{
    TempDir dir;
    const std::string folder = dir.File("state");
    ASSERT_TRUE(MakeDirectories(folder));
    WriteFileBytes(folder + "/HKCU.reg", "Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_CURRENT_USER\\Software]\n"
                                         "\"Kept\"=\"yes\"\n");
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    if (!FolderRefusesNewFiles(folder))
        GTEST_SKIP() << "permission bits do not stop this user from writing";

    std::uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(ReadValue(folder + "/HKCU.reg", "Software", "Kept", &type, &data), kErrorSuccess);
    EXPECT_EQ(data, RegSzData("yes"));
    HiveRegistry registry(folder + "/HKCU.reg");
    Registry::Key key = Registry::kNoKey;
    EXPECT_EQ(registry.CreateKey("Software\\New", kKeyWrite, &key), kErrorAccessDenied);
}

TEST(CurrentUserRegistry, FollowsTheConfigFolderOfTheMomentAndHandlesKeepTheirHive)
{
    test_support::IsolatedUserEnvironment first;
    Registry& registry = CurrentUserRegistry();
    Registry::Key key = Registry::kNoKey;
    ASSERT_EQ(registry.CreateKey(kHopvaneKey, kKeyRead | kKeyWrite, &key), kErrorSuccess);
    const std::string firstHive = first.Root().File("config/hopvane/HKCU.reg");
    {
        test_support::IsolatedUserEnvironment second;
        ASSERT_EQ(registry.SetValue(key, "Lang", kRegSz, RegSzData("cz")), kErrorSuccess);

        Registry::Key other = Registry::kNoKey;
        ASSERT_EQ(registry.CreateKey(kHopvaneKey, kKeyRead, &other), kErrorSuccess);
        std::uint32_t type = 0;
        Bytes data;
        EXPECT_EQ(registry.QueryValue(other, "Lang", &type, &data), kErrorFileNotFound);
        registry.CloseKey(other);
        EXPECT_TRUE(FileExists(second.Root().File("config/hopvane/HKCU.reg")));
    }
    registry.CloseKey(key);
    EXPECT_NE(ReadFileBytes(firstHive).find("[HKEY_CURRENT_USER\\Software\\Kelbrin\\Hopvane]\n"
                                            "\"Lang\"=\"cz\"\n"),
              std::string::npos);
}

// Runs in a child process: exit status 0 when every write succeeded.
int WriteAsChild(const std::string& hivePath, int child, int count)
{
    try {
        HiveRegistry registry(hivePath);
        Registry::Key shared = Registry::kNoKey;
        Registry::Key own = Registry::kNoKey;
        if (registry.CreateKey("Software\\Shared", kKeyWrite, &shared) != kErrorSuccess ||
            registry.CreateKey("Software\\Child" + std::to_string(child), kKeyWrite, &own) !=
                kErrorSuccess)
            return 1;
        for (int i = 0; i < count; ++i) {
            const std::string name = "c" + std::to_string(child) + "v" + std::to_string(i);
            if (registry.SetValue(shared, name, kRegSz, RegSzData(name)) != kErrorSuccess ||
                registry.SetValue(own, name, kRegDword,
                                  RegDwordData(static_cast<std::uint32_t>(i))) != kErrorSuccess)
                return 2;
        }
        return 0;
    } catch (...) {
        return 3;
    }
}

TEST(HiveRegistryProcesses, ConcurrentWritersLoseNothing)
{
    constexpr int kChildren = 4;
    constexpr int kValuesEach = 40;
    TempDir dir;
    const std::string hivePath = dir.File("state/HKCU.reg");

    // The children wait at the gate until all exist, then write at once.
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int child = 0; child < kChildren; ++child) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char ignored;
            while (read(gate[0], &ignored, 1) < 0 && errno == EINTR) {
            }
            _exit(WriteAsChild(hivePath, child, kValuesEach));
        }
        EXPECT_GT(pid, 0);
        if (pid < 0)
            break;
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    ASSERT_EQ(children.size(), static_cast<std::size_t>(kChildren));

    const Hive hive = ParseHive(ReadFileBytes(hivePath));
    const HiveKey* shared = hive.FindKey("Software\\Shared");
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->values.size(), static_cast<std::size_t>(kChildren * kValuesEach));
    for (int child = 0; child < kChildren; ++child) {
        const HiveKey* own = hive.FindKey("Software\\Child" + std::to_string(child));
        ASSERT_NE(own, nullptr) << child;
        EXPECT_EQ(own->values.size(), static_cast<std::size_t>(kValuesEach));
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = "c" + std::to_string(child) + "v" + std::to_string(i);
            const HiveValue* value = shared->FindValue(name);
            ASSERT_NE(value, nullptr) << name;
            EXPECT_EQ(value->data, RegSzData(name));
            const HiveValue* number = own->FindValue(name);
            ASSERT_NE(number, nullptr) << name;
            EXPECT_EQ(number->data, RegDwordData(static_cast<std::uint32_t>(i)));
        }
    }
    EXPECT_EQ(hive.keys.size(), static_cast<std::size_t>(2 + kChildren));
}

} // namespace
} // namespace platform::posix
