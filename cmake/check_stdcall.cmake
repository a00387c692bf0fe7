# Fails when a function that crosses the binary boundary of the 32-bit build is
# not stdcall: the plug-in's entry points and callbacks, the settings editor's
# export and the stand-in host's functions. A cdecl function there still links
# (stdcall fix-up maps the plain name) but leaves the stack unbalanced at every
# call, so the decoration "@<argument bytes>" is checked on the object files.
# Run as: cmake -DNM=<nm> -DOBJECTS=<objects joined by |> -DHOST_DEF=<host .def>
#               -P check_stdcall.cmake
cmake_minimum_required(VERSION 3.20)
set(expected
    QPCGetPlugName@0 QPCVersionInfo@4 QPCStartUp@4 QPCCleanUp@0 QPCSetup@4 QPCViewClose@4
    QPCSendInitMenu@12 EntryCallback@8 AddressCallback@8 SetUpTevrix@0)

# The host functions: as the host's export table names them ("_QPAName@N").
file(STRINGS ${HOST_DEF} def_lines REGEX "^[ \t]*_QPA[A-Za-z]+@[0-9]+")
foreach(line ${def_lines})
  string(REGEX MATCH "_(QPA[A-Za-z]+@[0-9]+)" _ "${line}")
  list(APPEND expected ${CMAKE_MATCH_1})
endforeach()
list(LENGTH def_lines host_count)
if(NOT host_count EQUAL 34)
  message(FATAL_ERROR "check_stdcall: ${HOST_DEF} names ${host_count} host functions, not 34")
endif()

# Defined functions of interest, by plain name: "_Name[@N]" with C linkage,
# "__Z<length>Name<parameters>[@N]" with C++ linkage.
string(REPLACE "|" ";" objects "${OBJECTS}")
set(found)
foreach(object ${objects})
  execute_process(COMMAND ${NM} -g --defined-only ${object} OUTPUT_VARIABLE symbols
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "check_stdcall: ${NM} ${object} failed")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
  foreach(line ${lines})
    if(NOT line MATCHES " T (.+)$")
      continue()
    endif()
    set(symbol ${CMAKE_MATCH_1})
    set(decoration "")
    if(symbol MATCHES "(@[0-9]+)$")
      set(decoration ${CMAKE_MATCH_1})
    endif()
    set(name "")
    if(symbol MATCHES "^__Z([0-9]+)(.+)$")
      string(SUBSTRING "${CMAKE_MATCH_2}" 0 ${CMAKE_MATCH_1} name)
    elseif(symbol MATCHES "^_([A-Za-z]+)(@[0-9]+)?$")
      set(name ${CMAKE_MATCH_1})
    endif()
    if(name MATCHES "^(QPC[A-Za-z]+|QPA[A-Za-z]+|SetUpTevrix|EntryCallback|AddressCallback)$")
      list(APPEND found "${name}${decoration}")
    endif()
  endforeach()
endforeach()

set(problems)
foreach(name ${found})
  if(NOT name MATCHES "@[0-9]+$")
    list(APPEND problems "${name} is not stdcall")
  elseif(NOT name IN_LIST expected)
    list(APPEND problems "${name} has an unexpected argument size")
  endif()
endforeach()
foreach(name ${expected})
  if(NOT name IN_LIST found)
    string(REGEX REPLACE "@.*" "" plain "${name}")
    if(NOT "${found}" MATCHES "(^|;)${plain}(@|;|$)")
      list(APPEND problems "${name} is defined in none of the objects")
    endif()
  endif()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "check_stdcall:\n  ${text}")
endif()
