#pragma once

namespace test_support {

// Whether the test runs under Wine rather than on Windows itself, for the
// few behaviours in which the two differ.
bool RunningUnderWine();

} // namespace test_support
