# delay_import(<variable> <dll> <function>@<argument bytes>...)
# Makes an import library that loads <dll> at the first call of one of the functions rather than
# at start, and sets <variable> to its path. The byte counts are those of the stdcall names of
# 32-bit Windows; 64-bit names have none. The library is made when the build is configured.
function(delay_import variable dll)
  set(exports "")
  foreach(function IN LISTS ARGN)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      string(REGEX REPLACE "@[0-9]+$" "" function "${function}")
    endif()
    string(APPEND exports "${function}\n")
  endforeach()
  set(directory ${PROJECT_BINARY_DIR}/delay-import)
  file(WRITE ${directory}/${dll}.def "LIBRARY ${dll}\nEXPORTS\n${exports}")
  execute_process(
    COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${dll}.def --output-delaylib lib${dll}.a
      --dllname ${dll}
    WORKING_DIRECTORY ${directory}
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "dlltool could not make the delay-load library of ${dll}")
  endif()
  set(${variable} ${directory}/lib${dll}.a PARENT_SCOPE)
endfunction()
