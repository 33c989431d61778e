#include "platform/system_version.h"

#include <windows.h>
// These build on the types of windows.h.
#include <lm.h>
#include <winver.h>

#include <vector>

namespace platform {

namespace {

VersionNumbers VersionExNumbers()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info))
        return {};
    return {info.dwMajorVersion, info.dwMinorVersion};
}

std::optional<VersionNumbers> WorkstationNumbers()
{
    WKSTA_INFO_100* info = nullptr;
    if (NetWkstaGetInfo(nullptr, 100, reinterpret_cast<LPBYTE*>(&info)) != NERR_Success)
        return std::nullopt;
    const VersionNumbers numbers{info->wki100_ver_major, info->wki100_ver_minor};
    NetApiBufferFree(info);
    return numbers;
}

std::optional<VersionNumbers> Kernel32ProductNumbers()
{
    const wchar_t* const kFile = L"kernel32.dll";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(kFile, &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(kFile, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixedSize < sizeof *fixed)
        return std::nullopt;
    return VersionNumbers{HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS)};
}

} // namespace

std::string GetWindowsName()
{
    // In this order: the later ones only count when the first reports a
    // version above Windows 7.
    const VersionNumbers versionEx = VersionExNumbers();
    const std::optional<VersionNumbers> workstation = WorkstationNumbers();
    const std::optional<VersionNumbers> kernel32 = Kernel32ProductNumbers();
    const VersionNumbers numbers = ResolveWindowsVersion(versionEx, workstation, kernel32);
    return WindowsNameFor(numbers.major, numbers.minor);
}

std::string GetBriefSystemName()
{
    return GetWindowsName();
}

bool WarnsNotWindows10(const std::string& systemName)
{
    return systemName != "Windows 10";
}

} // namespace platform
