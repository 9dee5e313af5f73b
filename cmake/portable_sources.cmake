# Sources that include no Windows header: they build natively too, for quick tests and benchmarks.
set(KESTRUNE_PORTABLE_SOURCES
  app/byte_operations.cpp
  app/byte_search.cpp
  app/two_way_search.cpp
  skin/color_and_placement.cpp
)
