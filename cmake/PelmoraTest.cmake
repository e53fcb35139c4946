# One place registers every test executable, so labels, timeouts and the test
# data path are the same for all folders.
include(GoogleTest)

set(PELMORA_TEST_DATA ${CMAKE_SOURCE_DIR}/tests/data)

# pelmora_add_test(<target> LABEL <label> [QT] SOURCES <files...> LIBS <targets...>
#                  [TIMEOUT <seconds>] [ENV <VAR=value...>])
# QT: the executable gets a main() that creates a QApplication on the offscreen
# platform, for tests that drive real widgets. More sources may be added later
# with target_sources().
function(pelmora_add_test target)
    cmake_parse_arguments(ARG "QT" "LABEL;TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 600)
    endif()
    add_executable(${target} ${ARG_SOURCES})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
    if(ARG_QT)
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/QtTestMain.cpp)
        target_link_libraries(${target} PRIVATE ${ARG_LIBS} Qt6::Widgets Qt6::Test GTest::gtest GTest::gmock)
        list(APPEND ARG_ENV QT_QPA_PLATFORM=offscreen)
    else()
        target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    target_compile_definitions(${target} PRIVATE
        PELMORA_TEST_DATA="${PELMORA_TEST_DATA}"
        PELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        PELMORA_BINARY_DIR="${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${ARG_ENV}")
endfunction()

# pelmora_add_benchmark(<target> SOURCES <files...> LIBS <targets...>)
# Benchmarks are built with the project but never run by ctest.
function(pelmora_add_benchmark target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
    target_compile_definitions(${target} PRIVATE
        PELMORA_TEST_DATA="${PELMORA_TEST_DATA}"
        PELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        PELMORA_BINARY_DIR="${CMAKE_BINARY_DIR}")
endfunction()
