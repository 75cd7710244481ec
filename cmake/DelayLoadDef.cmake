# Writes DEF, the module definition of DLL's functions, from the symbols of
# its MinGW import library IMPORT (read with NM). Run by DelayLoad.cmake.
execute_process(COMMAND ${NM} --defined-only ${IMPORT} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
# stdcall functions carry @bytes, the few cdecl ones (MCIWndCreateA) do not.
string(REGEX MATCHALL "[0-9a-fA-F]+ T _[A-Za-z][A-Za-z0-9_]*(@[0-9]+)?" functions "${symbols}")
set(lines "LIBRARY ${DLL}.dll\nEXPORTS\n")
foreach(function IN LISTS functions)
  string(REGEX REPLACE "^[0-9a-fA-F]+ T _" "" name "${function}")
  string(APPEND lines "  ${name}\n")
endforeach()
file(WRITE ${DEF} "${lines}")
