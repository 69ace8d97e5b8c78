# mingw-w64 build of the hook library, the main program and the Wine integration tests.

# Reproducible binaries: no link time in the PE header, no build folder in the code.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>)
set(QORV_WIN_FLAGS -fno-exceptions -fno-rtti -municode -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN
    -D_WIN32_WINNT=0x0601 -DWINVER=0x0601)

# The hook library runs inside every process: no C++ runtime, no exceptions, small frames, and
# nothing but system DLLs among its imports.
add_library(vantel SHARED
  ${QORV_PLAIN_SOURCES}
  ${QORV_HOOKLIB_WIN_SOURCES}
  common/codepage_win.cpp
  common/layered_win.cpp
  common/winsearch_win.cpp
  hooklib/vantel.def
)
set_target_properties(vantel PROPERTIES PREFIX "" OUTPUT_NAME vantel)
target_include_directories(vantel PRIVATE ${PROJECT_SOURCE_DIR})
# Unwind tables stay (x86_64 .pdata/.xdata): an exception or crash dispatched through our frames
# (a subclass procedure, CallNextHookEx) must be able to unwind them, or it takes the host down.
# Small code, and unreferenced sections dropped by the linker. Not -ffunction-sections: every
# function section is 16-byte aligned and the padding outweighs what the linker could drop (about
# 1 KB more here); not -fdata-sections: mingw then puts zero-initialised globals into .data.
# -Oz: smaller than -Os by about 800 bytes of code here; the paths that run per message are
# dominated by system calls, not by the few extra instructions it trades for size.
target_compile_options(vantel PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS} -Wstack-usage=4096
  -fno-threadsafe-statics -Oz)
# No C runtime start-up either: the system calls DllMain directly. Only kernel32, user32, gdi32,
# advapi32 (the token query at attach) and msvcrt (for the memset/memcpy the compiler may emit)
# are linked; libgcc statically for stack probes.
target_link_options(vantel PRIVATE -nostartfiles -nodefaultlibs -s -Wl,--enable-stdcall-fixup -Wl,--gc-sections)
target_link_libraries(vantel PRIVATE kernel32 user32 gdi32 advapi32 msvcrt gcc)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # i686 unwinds through SEH frames on the stack: DWARF tables would be dead weight there.
  target_compile_options(vantel PRIVATE -fno-asynchronous-unwind-tables)
  target_link_options(vantel PRIVATE -Wl,--kill-at -Wl,-e,_DllMain@12)
else()
  target_link_options(vantel PRIVATE -Wl,-e,DllMain)
endif()

# The settings store with its file side, for the settings program, the main program and the tests.
add_library(qorv_settings_win STATIC
  ${QORV_SETTINGS_PLAIN_SOURCES}
  common/mbcs.cpp
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
# Its icon, version block and manifest come from host/qorv.rc.
enable_language(RC)
add_executable(qorv WIN32
  host/main_win.cpp
  host/qorv_win.cpp
  host/library_win.cpp
  host/hook_thread_win.cpp
  host/hooks_win.cpp
  host/hotkey_dispatch_win.cpp
  host/elevation_win.cpp
  host/wheel_reports_win.cpp
  host/tray_icon_win.cpp
  host/companion_win.cpp
  host/publish_win.cpp
  host/hotkeys_win.cpp
  host/actions_win.cpp
  host/tray_win.cpp
  host/reports_win.cpp
  host/volume_win.cpp
  host/layered_left_win.cpp
  host/test_witness_win.cpp
  common/layered_win.cpp
  common/ui_language.cpp
  common/ui_language_win.cpp
  common/winsearch_win.cpp
  common/dll_search_win.cpp
  host/qorv.rc
)
set_source_files_properties(host/qorv.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/host/qorv.ico;${PROJECT_SOURCE_DIR}/host/qorv.manifest;${PROJECT_SOURCE_DIR}/host/resource.h")
target_include_directories(qorv PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QORV_WARNINGS} ${QORV_WIN_FLAGS}>)
target_link_options(qorv PRIVATE -municode -static -s)
target_link_libraries(qorv PRIVATE qorv_settings_win shell32 comctl32 ole32 oleaut32 uuid advapi32 gdi32)
add_dependencies(qorv vantel)

# The 32-bit companion of the x86_64 main program: qorv32.exe with the library under the name
# vantel32.dll (a hook library of each bitness needs a file of its own). The i686 build is the one the
# x86_64 release carries; the x86_64 build is for the Wine tests, which run no 32-bit code.
add_executable(qorv32 WIN32
  host/companion_main_win.cpp
  host/library_win.cpp
  host/hook_thread_win.cpp
  host/hotkeys_win.cpp
)
target_include_directories(qorv32 PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv32 PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
target_link_options(qorv32 PRIVATE -municode -static -s)
target_link_libraries(qorv32 PRIVATE qorv_settings_win)
add_custom_command(TARGET vantel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vantel> ${CMAKE_BINARY_DIR}/vantel32.dll)
add_dependencies(qorv32 vantel)

# The demonstration application that `make run` drives (tools/run-qorv.sh).
add_executable(qorv_demo demo/demo_win.cpp)
target_include_directories(qorv_demo PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_demo PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
target_link_options(qorv_demo PRIVATE -municode -static)

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
add_executable(qorv_bench_llmouse bench/llmouse_bench_win.cpp hooklib/buttons_win.cpp hooklib/buttons.cpp
  hooklib/wheel_accum.cpp hooklib/button_watch.cpp hooklib/modifier_watch.cpp hooklib/dpi_win.cpp
  common/winsearch_win.cpp)
target_include_directories(qorv_bench_llmouse PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_bench_llmouse PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS} -O2)
target_link_options(qorv_bench_llmouse PRIVATE -municode -static)

# Benchmark of the hook thread's answers while the UI thread is busy; tools/bench.sh runs it.
add_executable(qorv_bench_hook_thread bench/hook_thread_bench_win.cpp host/hook_thread_win.cpp host/hotkeys_win.cpp
  host/library_win.cpp)
target_include_directories(qorv_bench_hook_thread PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_bench_hook_thread PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS} -O2)
target_link_options(qorv_bench_hook_thread PRIVATE -municode -static)
target_link_libraries(qorv_bench_hook_thread PRIVATE qorv_settings_win shell32 ole32)
add_dependencies(qorv_bench_hook_thread vantel qorv32)

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

# A stand-in "dwmapi.dll" that reports invisible borders; qorv_snap.exe loads it on request.
add_library(qorv_fake_dwmapi SHARED tests/wine/fake_dwmapi.cpp)
set_target_properties(qorv_fake_dwmapi PROPERTIES PREFIX "" OUTPUT_NAME dwmapi
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fakedwm)
target_include_directories(qorv_fake_dwmapi PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_fake_dwmapi PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
target_link_options(qorv_fake_dwmapi PRIVATE -static -Wl,--kill-at)
list(APPEND QORV_TEST_APP_TARGETS qorv_fake_dwmapi)

file(GLOB QORV_WINE_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*_test.cpp)
# The settings program's tests have an executable of their own (below), with its resources.
list(FILTER QORV_WINE_TESTS EXCLUDE REGEX "/(pelisk_[^/]*|pages_[^/]*|perwindow_page|mouse_page|passthrough)_test\\.cpp$")
# The monitor shims are linked in too, so that their single-monitor answers can be shown here.
add_executable(qorv_wine_tests ${QORV_WINE_TESTS} tests/wine/harness.cpp tests/wine/input_left_up.cpp
  hooklib/shims_win.cpp host/hook_thread_win.cpp host/hotkeys_win.cpp host/library_win.cpp
  host/layered_left_win.cpp common/layered_win.cpp)
target_include_directories(qorv_wine_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(qorv_wine_tests PRIVATE ${QORV_WARNINGS} -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN
  -D_WIN32_WINNT=0x0601)
target_link_options(qorv_wine_tests PRIVATE -static)
target_link_libraries(qorv_wine_tests PRIVATE qorv_settings_win gtest_main gdi32 comctl32 shell32 ole32 uuid)
add_dependencies(qorv_wine_tests vantel qorv qorv32 ${QORV_TEST_APP_TARGETS})

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

# The hook procedures called directly in a program that plays the installing process.
add_executable(qorv_passthrough_tests tests/wine/passthrough_test.cpp tests/wine/harness.cpp
  tests/wine/input_left_up.cpp)
target_compile_options(qorv_passthrough_tests PRIVATE ${QORV_WARNINGS} -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN
  -D_WIN32_WINNT=0x0601)
target_link_options(qorv_passthrough_tests PRIVATE -static)
target_link_libraries(qorv_passthrough_tests PRIVATE qorv_hook_static qorv_settings_win gtest_main gdi32 comctl32)
add_dependencies(qorv_passthrough_tests vantel qorv_wheel)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  gtest_discover_tests(qorv_passthrough_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()

# ---- Settings program -------------------------------------------------------------------------
# pelisk.exe is a thin wWinMain over pelisk_lib, so that the tests can drive the window, the pages
# and the dialogs inside their own process. It imports system DLLs only.
enable_language(RC)
set(QORV_PELISK_LIBS qorv_settings_win comctl32 comdlg32 version imm32 winmm gdi32 user32 kernel32 shell32)
add_library(pelisk_lib STATIC ${QORV_PELISK_WIN_SOURCES} ${QORV_PELISK_PLAIN_SOURCES} common/layered_win.cpp
  common/ui_language.cpp common/ui_language_win.cpp common/dll_search_win.cpp)
target_include_directories(pelisk_lib PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(pelisk_lib PRIVATE ${QORV_WARNINGS} ${QORV_WIN_FLAGS})
target_link_libraries(pelisk_lib PUBLIC ${QORV_PELISK_LIBS})

set(QORV_PELISK_RC ${PROJECT_SOURCE_DIR}/pelisk/pelisk.rc)
set_source_files_properties(${QORV_PELISK_RC} PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/pelisk/resource.h;${PROJECT_SOURCE_DIR}/pelisk/pelisk_en.rc;${PROJECT_SOURCE_DIR}/pelisk/pelisk.manifest;${PROJECT_SOURCE_DIR}/pelisk/res/main.ico;${PROJECT_SOURCE_DIR}/pelisk/res/picker.ico;${PROJECT_SOURCE_DIR}/pelisk/res/picker_search.ico;${PROJECT_SOURCE_DIR}/pelisk/res/picker.cur")
add_executable(pelisk WIN32 pelisk/main_win.cpp ${QORV_PELISK_RC})
target_include_directories(pelisk PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/pelisk)
target_compile_options(pelisk PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QORV_WARNINGS} ${QORV_WIN_FLAGS}>)
target_link_options(pelisk PRIVATE -municode -static -s)
target_link_libraries(pelisk PRIVATE pelisk_lib)

# The settings program's Wine tests, with the program's resources linked in.
file(GLOB QORV_PELISK_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/pelisk_*_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/wine/pages_*_test.cpp ${PROJECT_SOURCE_DIR}/tests/wine/perwindow_page_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/wine/mouse_page_test.cpp)
add_executable(qorv_pelisk_tests ${QORV_PELISK_TESTS} tests/wine/harness.cpp tests/wine/input_left_up.cpp
  ${QORV_PELISK_RC})
target_include_directories(qorv_pelisk_tests PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/pelisk)
target_compile_options(qorv_pelisk_tests PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:${QORV_WARNINGS} -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601>)
target_link_options(qorv_pelisk_tests PRIVATE -static)
target_link_libraries(qorv_pelisk_tests PRIVATE pelisk_lib gtest_main)
add_dependencies(qorv_pelisk_tests pelisk vantel qorv qorv_snap qorv_wheel)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  gtest_discover_tests(qorv_pelisk_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
  # The language tests once more in the English locale (the discovered ones run in Japanese).
  add_test(NAME Language.English COMMAND ${CMAKE_COMMAND} -E env QORV_WINE_LANG=en_US.UTF-8
    ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:qorv_pelisk_tests> --gtest_filter=Language.*)
  set_tests_properties(Language.English PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()
