# Native Linux build: the platform-free code, its tests (optionally sanitized) and benchmarks.
option(KESTRUNE_SANITIZE "Build the native tests with AddressSanitizer and UBSan" OFF)
if(KESTRUNE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
add_compile_options(${KESTRUNE_COMPILE_OPTIONS})

add_library(kestrune_portable STATIC ${KESTRUNE_PORTABLE_SOURCES})

file(GLOB_RECURSE native_test_sources CONFIGURE_DEPENDS tests/*_test.cpp)
list(FILTER native_test_sources EXCLUDE REGEX "_wine_test\\.cpp$")
if(native_test_sources)
  add_executable(kestrune_native_tests ${native_test_sources})
  target_link_libraries(kestrune_native_tests PRIVATE kestrune_portable GTest::gtest GTest::gtest_main)
  gtest_discover_tests(kestrune_native_tests TEST_PREFIX "native." DISCOVERY_MODE PRE_TEST)
endif()

file(GLOB native_benchmarks CONFIGURE_DEPENDS bench/*_benchmark.cpp)
list(FILTER native_benchmarks EXCLUDE REGEX "_wine_benchmark\\.cpp$")
foreach(source ${native_benchmarks})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE kestrune_portable benchmark::benchmark)
endforeach()
