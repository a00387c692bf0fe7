# Fails when the DLL's export table is not exactly the plug-in's seven entry
# points, undecorated, at their ordinals, under the file name Tevrix.dll.
# Run as: cmake -DOBJDUMP=<objdump> -DDLL=<dll> -P check_exports.cmake
set(expected
    "1 QPCGetPlugName" "2 QPCVersionInfo" "3 QPCStartUp" "4 QPCCleanUp" "5 QPCSetup"
    "201 QPCViewClose" "302 QPCSendInitMenu")
set(expected_ordinals 1 2 3 4 5 201 302)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "check_exports: ${OBJDUMP} -p ${DLL} failed")
endif()

function(fail why)
  message(FATAL_ERROR "check_exports: ${DLL}: ${why}")
endfunction()

string(REGEX MATCH "Name[ \t]+[0-9a-fA-F]+ ([^\n]*)" name_line "${dump}")
if(NOT CMAKE_MATCH_1 STREQUAL "Tevrix.dll")
  fail("export table names the file '${CMAKE_MATCH_1}', not Tevrix.dll")
endif()
string(REGEX MATCH "Ordinal Base[ \t]+([0-9]+)" base_line "${dump}")
set(base ${CMAKE_MATCH_1})
if(NOT base STREQUAL "1")
  fail("ordinal base is '${base}', not 1")
endif()

# Named exports: "[index] name" lines, where ordinal = index + base.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(([ \t]+\\[[ 0-9]+\\] [^\n]+\n)*)" names_block
       "${dump}")
set(names_block "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "\\[[ 0-9]+\\] [^\n]+" name_rows "${names_block}")
set(found)
foreach(row ${name_rows})
  string(REGEX MATCH "\\[ *([0-9]+)\\] (.+)" _ "${row}")
  math(EXPR ordinal "${CMAKE_MATCH_1} + ${base}")
  list(APPEND found "${ordinal} ${CMAKE_MATCH_2}")
endforeach()
list(SORT found)
set(sorted_expected ${expected})
list(SORT sorted_expected)
if(NOT found STREQUAL sorted_expected)
  fail("named exports are '${found}', expected '${sorted_expected}'")
endif()

# Every used slot of the address table: no export by ordinal alone.
string(REGEX MATCHALL "\\+base\\[ *[0-9]+\\]" slots "${dump}")
set(ordinals)
foreach(slot ${slots})
  string(REGEX MATCH "([0-9]+)" _ "${slot}")
  list(APPEND ordinals ${CMAKE_MATCH_1})
endforeach()
if(NOT ordinals STREQUAL expected_ordinals)
  fail("used export ordinals are '${ordinals}', expected '${expected_ordinals}'")
endif()
