# The end of each system's export check: the names the library exports, in any order, against
# the expected list (one name a line).
function(compare_exports actual expected_file)
  list(SORT actual)
  file(STRINGS ${expected_file} expected)
  list(SORT expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "exported names differ\n  expected: ${expected}\n  actual:   ${actual}")
  endif()
endfunction()
