# Fails when an object file of the plug-in calls into the C++ runtime's
# throwing parts: operator new, throw and rethrow, or the library's throw
# helpers. The plug-in is built without exceptions and catches none, so
# nothing may throw inside it: an exception would cross into the host (and
# under the 32-bit toolchain it cannot unwind through the system's frames).
# EXEMPT names objects (file names joined by |) that may throw: each catches
# everything it throws inside its own frames (see the plug-in's CMakeLists.txt).
# Run as: cmake -DNM=<nm> -DOBJECTS=<objects joined by |> [-DEXEMPT=<names>] -P check_no_throw.cmake
cmake_minimum_required(VERSION 3.20)
string(REPLACE "|" ";" objects "${OBJECTS}")
set(throwing "_Zn[wa][jmy]|__cxa_throw|__cxa_rethrow|__cxa_allocate_exception")
string(APPEND throwing "|_ZSt[0-9]+__throw_[A-Za-z0-9_]+")
set(problems)
string(REPLACE "|" ";" exempt "${EXEMPT}")
foreach(object ${objects})
  get_filename_component(object_name ${object} NAME)
  if(object_name IN_LIST exempt)
    continue()
  endif()
  execute_process(COMMAND ${NM} -u ${object} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "check_no_throw: ${NM} ${object} failed")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
  foreach(line ${lines})
    # 32-bit names carry one more leading underscore.
    if(line MATCHES " U _?(${throwing})$")
      get_filename_component(name ${object} NAME)
      list(APPEND problems "${name} calls ${CMAKE_MATCH_1}")
    endif()
  endforeach()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "check_no_throw:\n  ${text}")
endif()
