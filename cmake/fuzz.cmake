# libFuzzer targets under AddressSanitizer and UBSan, one per fuzz/<name>_fuzz.cpp, each with a seed
# corpus in fuzz/corpus/<name>. The tests run every target once over its corpus.
# QORV_FUZZ_SANITIZE=OFF builds the same targets without the sanitizers, several times faster, for
# long runs that explore; whatever they keep is then run through the sanitized build.
option(QORV_FUZZ_SANITIZE "Fuzz targets under ASan and UBSan" ON)
if(QORV_FUZZ_SANITIZE)
  set(QORV_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
else()
  set(QORV_FUZZ_FLAGS -O2 -g)
endif()
add_library(qorv_plain_fuzz STATIC ${QORV_PLAIN_SOURCES} ${QORV_SETTINGS_PLAIN_SOURCES} common/codepage_cp932.cpp)
target_include_directories(qorv_plain_fuzz PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_plain_fuzz PRIVATE ${QORV_WARNINGS} ${QORV_FUZZ_FLAGS} -fsanitize=fuzzer-no-link)

file(GLOB QORV_FUZZERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(source ${QORV_FUZZERS})
  get_filename_component(target ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${target})
  add_executable(${target} ${source})
  target_compile_options(${target} PRIVATE ${QORV_WARNINGS} ${QORV_FUZZ_FLAGS} -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE ${QORV_FUZZ_FLAGS} -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE qorv_plain_fuzz)
  add_test(NAME ${target}.corpus COMMAND ${target} -runs=0 ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
endforeach()
