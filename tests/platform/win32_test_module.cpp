// A library that the dynamic-library tests load from a path of their own.
extern "C" __declspec(dllexport) int HopvaneTestModuleAnswer()
{
    return 42;
}
