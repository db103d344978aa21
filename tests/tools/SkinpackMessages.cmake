# What skinpack tells a skin author about broken packages: each refused package ends the
# tool with exit code 1 and one line that leads with the text known for its condition; a
# sound package lists with exit code 0. The packages are the skin package fuzz seeds.
# Run as: cmake -DSKINPACK=<tool> -DPACKAGES=<folder> -P SkinpackMessages.cmake
set(cases
    # package                         what stderr begins with (empty: the package lists)
    "packer-four-entries.asz|"
    "cut-in-table.asz|skinpack: Stream read error: "
    "count-over.asz|skinpack: Stream read error: "
    "count-huge.asz|skinpack: Stream read error: "
    "name-past-end.asz|skinpack: Stream read error: "
    "name-huge.asz|skinpack: Stream read error: "
    "size-huge.asz|skinpack: Stream read error: "
    "size-long.asz|skinpack: Stream read error\n"
    "cut-in-trailer.asz|skinpack: Stream read error\n"
    "damaged-stream.asz|skinpack: data error\n"
    "magic-in-capitals.asz|skinpack: Loaded data is not a packed skin file\n"
    "count-negative.asz|skinpack: Packed skin file has a negative entry count\n")

set(failures 0)
foreach(case IN LISTS cases)
  string(FIND "${case}" "|" bar)
  string(SUBSTRING "${case}" 0 ${bar} package)
  math(EXPR from "${bar} + 1")
  string(SUBSTRING "${case}" ${from} -1 expected)
  execute_process(COMMAND "${SKINPACK}" list "${PACKAGES}/${package}" RESULT_VARIABLE rc
                  OUTPUT_QUIET ERROR_VARIABLE err)
  if(expected STREQUAL "")
    set(ok FALSE)
    if(rc EQUAL 0 AND err STREQUAL "")
      set(ok TRUE)
    endif()
  else()
    string(FIND "${err}" "${expected}" at)
    set(ok FALSE)
    if(rc EQUAL 1 AND at EQUAL 0)
      set(ok TRUE)
    endif()
  endif()
  if(NOT ok)
    message("${package}: exit code ${rc}, stderr \"${err}\", expected \"${expected}\"")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} package(s) gave another result")
endif()
