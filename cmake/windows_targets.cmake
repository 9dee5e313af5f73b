# Windows build (MinGW-w64): the program, its tests for Wine and the benchmarks that run under Wine.
add_compile_definitions(STRICT WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++)
set(KESTRUNE_SYSTEM_LIBRARIES gdiplus ole32 oleaut32 uuid comdlg32 comctl32 shell32 gdi32 user32)
include(cmake/embed_assets.cmake)

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

add_compile_options(${KESTRUNE_COMPILE_OPTIONS})

file(GLOB_RECURSE core_sources CONFIGURE_DEPENDS
  app/*.cpp gui/*.cpp skin/*.cpp controls/*.cpp assets/*.cpp)
list(FILTER core_sources EXCLUDE REGEX "/app/main\\.cpp$")
add_library(kestrune_core STATIC ${core_sources})
target_link_libraries(kestrune_core PUBLIC ${KESTRUNE_SYSTEM_LIBRARIES})

add_executable(kestrune WIN32 app/main.cpp)
target_link_libraries(kestrune PRIVATE kestrune_core)

file(GLOB_RECURSE windows_test_sources CONFIGURE_DEPENDS tests/*_test.cpp tests/*_support.cpp)
add_executable(kestrune_tests tests/test_main.cpp ${windows_test_sources})
target_link_libraries(kestrune_tests PRIVATE kestrune_core gtest)

file(GLOB wine_benchmarks CONFIGURE_DEPENDS bench/*_wine_benchmark.cpp)
foreach(source ${wine_benchmarks})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE kestrune_core)
endforeach()

# Only x86_64 binaries are run (under Wine); the i686 build proves that everything compiles and links.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-exec)
  set_target_properties(kestrune_tests PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-exec)
  # Every test runs in code page 936, the program's own; those whose bytes depend on the code page
  # (suites named *CodePage*) run again in code page 1252.
  gtest_discover_tests(kestrune_tests TEST_PREFIX "wine." DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120 PROPERTIES ENVIRONMENT "LC_ALL=zh_CN.UTF-8" TIMEOUT 120)
  gtest_discover_tests(kestrune_tests TEST_PREFIX "wine1252." DISCOVERY_MODE PRE_TEST
    TEST_FILTER "*CodePage*" DISCOVERY_TIMEOUT 120 PROPERTIES ENVIRONMENT "LC_ALL=C" TIMEOUT 120)
endif()

# The real program driven from outside through the virtual display (keyboard, mouse, screenshots).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  add_test(NAME end_to_end.patch_through_the_real_dialogs
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/end_to_end/patch_end_to_end_test.sh
            $<TARGET_FILE:kestrune> ${CMAKE_BINARY_DIR}/end-to-end)
  set_tests_properties(end_to_end.patch_through_the_real_dialogs PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endif()
