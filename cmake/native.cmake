# Native Linux build: the plain code and its unit tests, under AddressSanitizer and UBSan.
option(QORV_SANITIZE "Build the native tests with AddressSanitizer and UBSan" ON)
if(QORV_SANITIZE)
  set(QORV_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
endif()

option(QORV_FUZZ "Build the libFuzzer targets (needs clang) instead of the unit tests" OFF)
if(QORV_FUZZ)
  include(${PROJECT_SOURCE_DIR}/cmake/fuzz.cmake)
  return()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)

add_library(qorv_plain STATIC ${QORV_PLAIN_SOURCES} ${QORV_SETTINGS_PLAIN_SOURCES} ${QORV_PELISK_PLAIN_SOURCES}
  common/codepage_cp932.cpp common/ui_language.cpp)
target_include_directories(qorv_plain PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_plain PRIVATE ${QORV_WARNINGS} ${QORV_SAN_FLAGS})
target_link_options(qorv_plain PUBLIC ${QORV_SAN_FLAGS})

file(GLOB QORV_NATIVE_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*_test.cpp)
add_executable(qorv_unit_tests ${QORV_NATIVE_TESTS})
target_compile_options(qorv_unit_tests PRIVATE ${QORV_WARNINGS} ${QORV_SAN_FLAGS})
target_link_libraries(qorv_unit_tests PRIVATE qorv_plain GTest::gtest_main)
gtest_discover_tests(qorv_unit_tests DISCOVERY_MODE PRE_TEST)

# Benchmarks: built with the tests, run by `make bench`, never part of the test verdict.
add_executable(qorv_bench_decisions ${PROJECT_SOURCE_DIR}/bench/decisions_bench.cpp)
target_compile_options(qorv_bench_decisions PRIVATE ${QORV_WARNINGS})
target_link_libraries(qorv_bench_decisions PRIVATE qorv_plain)

# Benchmark of the button conversion's decision, optimised and without sanitizers; tools/bench.sh
# runs it, make test does not.
add_executable(qorv_bench_buttons bench/buttons_bench.cpp hooklib/buttons.cpp hooklib/wheel_accum.cpp)
target_include_directories(qorv_bench_buttons PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_bench_buttons PRIVATE ${QORV_WARNINGS} -O2)
