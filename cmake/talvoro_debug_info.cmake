# The Windows programs ship without their debug information: Wine and Windows map the whole file
# at every start, and the information is most of it (36 of talvoro_gui.exe's 42 MB, 0.2 s of its
# start under Wine). It stays beside the file as <file>.debug, which the file names for a
# debugger (gdb finds it there). Elsewhere nothing changes.
function(talvoro_ship_without_debug_info target)
  if(NOT TALVORO_PLATFORM STREQUAL "windows" OR NOT CMAKE_OBJCOPY)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}>
            $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug
            --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
