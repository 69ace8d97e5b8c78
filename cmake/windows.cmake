# mingw-w64 build of the hook library, the main program and the Wine integration tests.
set(QORV_WIN_FLAGS -fno-exceptions -fno-rtti -municode -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN
    -D_WIN32_WINNT=0x0601 -DWINVER=0x0601)

# The hook library runs inside every process: no C++ runtime, no exceptions, small frames, and
# nothing but system DLLs among its imports.
add_library(vantel SHARED
  ${QORV_PLAIN_SOURCES}
  ${QORV_HOOKLIB_WIN_SOURCES}
  common/layered_win.cpp
  common/winsearch_win.cpp
  hooklib/vantel.def
)
set_target_properties(vantel PROPERTIES PREFIX "" OUTPUT_NAME vantel)
target_include_directories(vantel PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(vantel PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS} -Wstack-usage=4096
  -fno-asynchronous-unwind-tables -fno-threadsafe-statics)
# No C runtime start-up either: the system calls DllMain directly. Only kernel32, user32 and
# msvcrt (for the memset/memcpy the compiler may emit) are linked; libgcc statically for stack probes.
target_link_options(vantel PRIVATE -nostartfiles -nodefaultlibs -s -Wl,--enable-stdcall-fixup)
target_link_libraries(vantel PRIVATE kernel32 user32 gdi32 msvcrt gcc)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  target_link_options(vantel PRIVATE -Wl,--kill-at -Wl,-e,_DllMain@12)
else()
  target_link_options(vantel PRIVATE -Wl,-e,DllMain)
endif()

# The settings store with its file side, for the settings program, the main program and the tests.
add_library(qorv_settings_win STATIC
  ${QORV_SETTINGS_PLAIN_SOURCES}
  common/codepage_win.cpp
  common/winsearch_win.cpp
  settings/file_win.cpp
  settings/ini_win.cpp
  settings/settings_win.cpp
  settings/map_file_win.cpp
)
target_include_directories(qorv_settings_win PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_settings_win PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})

# The initial per-window table ships beside the programs.
configure_file(${PROJECT_SOURCE_DIR}/settings/MapInit.ini ${CMAKE_BINARY_DIR}/MapInit.ini COPYONLY)

# The main program: links the C++ runtime statically and binds the library at run time.
add_executable(qorv WIN32 host/qorv_win.cpp host/publish_win.cpp)
target_include_directories(qorv PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
target_link_options(qorv PRIVATE -municode -static -s)
target_link_libraries(qorv PRIVATE qorv_settings_win shell32)
add_dependencies(qorv vantel)

# The window code again, as a static library with a process-local shared block, for the test
# target application, which plays the hooked process.
add_library(qorv_window_static STATIC
  ${QORV_PLAIN_SOURCES}
  common/layered_win.cpp
  common/winsearch_win.cpp
  hooklib/window_win.cpp
  tests/wine/local_shared.cpp
)
target_include_directories(qorv_window_static PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_window_static PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})

# Benchmark of the low-level hook procedure called directly; tools/bench.sh runs it under Wine.
add_executable(qorv_bench_llmouse bench/llmouse_bench_win.cpp hooklib/buttons_win.cpp hooklib/buttons.cpp)
target_include_directories(qorv_bench_llmouse PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_bench_llmouse PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS} -O2)
target_link_options(qorv_bench_llmouse PRIVATE -municode -static)

# GoogleTest from the sources Debian ships, built with the same compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Target applications of the Wine tests: tests/wine/<name>_app.cpp becomes qorv_<name>.exe.
file(GLOB QORV_TEST_APPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*_app.cpp)
set(QORV_TEST_APP_TARGETS)
foreach(source ${QORV_TEST_APPS})
  get_filename_component(app ${source} NAME_WE)
  string(REGEX REPLACE "_app$" "" app ${app})
  add_executable(qorv_${app} WIN32 ${source})
  target_compile_options(qorv_${app} PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
  target_link_options(qorv_${app} PRIVATE -municode -static)
  target_link_libraries(qorv_${app} PRIVATE qorv_window_static shell32 comctl32)
  list(APPEND QORV_TEST_APP_TARGETS qorv_${app})
endforeach()

file(GLOB QORV_WINE_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*_test.cpp)
# The settings program's tests have an executable of their own (below), with its resources.
list(FILTER QORV_WINE_TESTS EXCLUDE REGEX "/(pelisk_[^/]*|pages_[^/]*|perwindow_page|mouse_page)_test\\.cpp$")
# The monitor shims are linked in too, so that their single-monitor answers can be shown here.
add_executable(qorv_wine_tests ${QORV_WINE_TESTS} tests/wine/harness.cpp hooklib/shims_win.cpp)
target_include_directories(qorv_wine_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_wine_tests PRIVATE ${QORV_WARNINGS} -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN
  -D_WIN32_WINNT=0x0601)
target_link_options(qorv_wine_tests PRIVATE -static)
target_link_libraries(qorv_wine_tests PRIVATE qorv_settings_win gtest_main gdi32)
add_dependencies(qorv_wine_tests vantel qorv ${QORV_TEST_APP_TARGETS})

if(CMAKE_CROSSCOMPILING_EMULATOR)
  include(GoogleTest)
  gtest_discover_tests(qorv_wine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()

# The hook code linked directly into a benchmark program, so that the procedures can be called in a
# loop (the library's entry and exports are left out; bench_globals_win.cpp stands in for them).
set(QORV_HOOK_STATIC_SOURCES ${QORV_HOOKLIB_WIN_SOURCES})
list(FILTER QORV_HOOK_STATIC_SOURCES EXCLUDE REGEX "core_win\\.cpp$")
add_library(qorv_hook_static STATIC
  ${QORV_PLAIN_SOURCES}
  ${QORV_HOOK_STATIC_SOURCES}
  common/layered_win.cpp
  common/winsearch_win.cpp
  tests/wine/local_shared.cpp
  bench/bench_globals_win.cpp
)
target_include_directories(qorv_hook_static PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_hook_static PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
add_executable(qorv_bench_hooks bench/hooks_bench_win.cpp)
target_compile_options(qorv_bench_hooks PRIVATE ${QORV_WARNINGS} -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN)
target_link_options(qorv_bench_hooks PRIVATE -static)
target_link_libraries(qorv_bench_hooks PRIVATE qorv_hook_static qorv_settings_win)

# ---- Settings program -------------------------------------------------------------------------
# pelisk.exe is a thin wWinMain over pelisk_lib, so that the tests can drive the window, the pages
# and the dialogs inside their own process. It imports system DLLs only.
enable_language(RC)
set(QORV_PELISK_LIBS qorv_settings_win comctl32 comdlg32 version imm32 winmm gdi32 user32 kernel32 shell32)
add_library(pelisk_lib STATIC ${QORV_PELISK_WIN_SOURCES} ${QORV_PELISK_PLAIN_SOURCES} common/layered_win.cpp)
target_include_directories(pelisk_lib PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(pelisk_lib PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
target_link_libraries(pelisk_lib PUBLIC ${QORV_PELISK_LIBS})

set(QORV_PELISK_RC ${PROJECT_SOURCE_DIR}/settings/pelisk.rc)
set_source_files_properties(${QORV_PELISK_RC} PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/settings/resource.h;${PROJECT_SOURCE_DIR}/settings/pelisk.manifest;${PROJECT_SOURCE_DIR}/settings/res/main.ico;${PROJECT_SOURCE_DIR}/settings/res/picker.ico;${PROJECT_SOURCE_DIR}/settings/res/picker_search.ico;${PROJECT_SOURCE_DIR}/settings/res/picker.cur")
add_executable(pelisk WIN32 settings/main_win.cpp ${QORV_PELISK_RC})
target_include_directories(pelisk PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/settings)
target_compile_options(pelisk PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QORV_WARNINGS} ${QORV_WIN_FLAGS}>)
target_link_options(pelisk PRIVATE -municode -static -s)
target_link_libraries(pelisk PRIVATE pelisk_lib)

# The settings program's Wine tests, with the program's resources linked in.
file(GLOB QORV_PELISK_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/pelisk_*_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/wine/pages_*_test.cpp ${PROJECT_SOURCE_DIR}/tests/wine/perwindow_page_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/wine/mouse_page_test.cpp)
add_executable(qorv_pelisk_tests ${QORV_PELISK_TESTS} tests/wine/harness.cpp ${QORV_PELISK_RC})
target_include_directories(qorv_pelisk_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/settings)
target_compile_options(qorv_pelisk_tests PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:${QORV_WARNINGS} -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601>)
target_link_options(qorv_pelisk_tests PRIVATE -static)
target_link_libraries(qorv_pelisk_tests PRIVATE pelisk_lib gtest_main)
add_dependencies(qorv_pelisk_tests pelisk vantel qorv qorv_snap qorv_wheel)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  gtest_discover_tests(qorv_pelisk_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()
