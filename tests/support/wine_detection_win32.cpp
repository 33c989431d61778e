#include "tests/support/wine_detection.h"

#include <windows.h>

namespace test_support {

bool RunningUnderWine()
{
    // Wine's ntdll exports its version; Windows' does not.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace test_support
