# The fuzz targets and how each is linked, for the libFuzzer build (fuzz/CMakeLists.txt) and
# the replay tests of the normal build (tests/fuzz/).
set(VELQUOR_FUZZ_TARGETS fuzz_engine_run fuzz_word_splitter fuzz_chr_font fuzz_ini_round_trip fuzz_compensation
    fuzz_thin_raster fuzz_stock_sweep)
# Those that call inside the engine rather than through its entry points.
set(VELQUOR_FUZZ_INTERNALS fuzz_word_splitter fuzz_chr_font fuzz_compensation)

# Adds executable `name` holding fuzz target `target` (fuzz/<target>.cpp), linked as it needs.
function(velquor_fuzz_executable name target)
  add_executable(${name} ${CMAKE_SOURCE_DIR}/fuzz/${target}.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  if(target STREQUAL fuzz_thin_raster)
    # The one-pixel rasteriser of the view needs neither Qt nor the engine: its source alone.
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/display/thin_raster.cpp)
    return()
  endif()
  if(target STREQUAL fuzz_stock_sweep)
    # The sweeping of the simulated stock needs neither Qt nor the engine.
    foreach(source cutter height_map stock_moves sweep stock_simulation)
      target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/stock/${source}.cpp)
    endforeach()
    target_link_libraries(${name} PRIVATE velquor_base)
    return()
  endif()
  if(target IN_LIST VELQUOR_FUZZ_INTERNALS)
    velquor_link_engine(${name} TRUE)
  else()
    velquor_link_engine(${name} FALSE)
  endif()
  target_link_libraries(${name} PRIVATE velquor_platform)
  target_compile_definitions(${name} PRIVATE VELQUOR_FONT_DIR="${VELQUOR_FONT_DIR}/")
  add_dependencies(${name} velquor_fonts)
endfunction()
