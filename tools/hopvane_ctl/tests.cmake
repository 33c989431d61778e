# hopvane-ctl's tests, included from tests/CMakeLists.txt after
# hopvane_add_tests is defined there.
set(hopvane_ctl_test_sources
    ${PROJECT_SOURCE_DIR}/tests/tools/fake_hopvane.cpp
    ${PROJECT_SOURCE_DIR}/tests/tools/hopvane_ctl_test.cpp
)
if(NOT WIN32)
    list(APPEND hopvane_ctl_test_sources ${PROJECT_SOURCE_DIR}/tests/tools/hopvane_ctl_posix_test.cpp)
endif()
hopvane_add_tests(hopvane_ctl_tests
    SOURCES ${hopvane_ctl_test_sources}
    LIBRARIES hopvane_ctl_core
)
