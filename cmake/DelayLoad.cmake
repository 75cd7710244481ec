# Delay-loaded system libraries for the Windows build. A DLL that only a
# dialog needs (sound, video, capture, the common dialogs) is loaded the
# first time one of its functions is called, not at start-up: each such DLL
# costs the start its own loading and that of everything it pulls in.
#
#   qm_delay_load_library(<target-name> <dll-base-name>)
# makes an imported static library <target-name> from MinGW's import library
# lib<dll-base-name>.a: the same functions, bound at first call through the
# runtime's __delayLoadHelper2 (libdelayimp.a). Link it in place of the
# plain import library.
if(NOT WIN32)
  return()
endif()

find_program(QM_DLLTOOL NAMES ${QM_MINGW_PREFIX}-dlltool REQUIRED)
find_program(QM_NM NAMES ${QM_MINGW_PREFIX}-nm REQUIRED)

function(qm_delay_load_library target dll)
  find_library(qm_import_${dll} NAMES lib${dll}.a REQUIRED)
  set(def ${CMAKE_BINARY_DIR}/DelayLoad/${dll}.def)
  set(archive ${CMAKE_BINARY_DIR}/DelayLoad/lib${dll}_delay.a)
  # The import library's functions (_name@bytes), as a module definition
  # that dlltool turns back into the same decorated imports.
  add_custom_command(OUTPUT ${archive}
    COMMAND ${CMAKE_COMMAND} -DNM=${QM_NM} -DIMPORT=${qm_import_${dll}} -DDLL=${dll} -DDEF=${def}
            -P ${PROJECT_SOURCE_DIR}/cmake/DelayLoadDef.cmake
    COMMAND ${QM_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --kill-at --output-delaylib ${archive}
    DEPENDS ${qm_import_${dll}} ${PROJECT_SOURCE_DIR}/cmake/DelayLoadDef.cmake
    COMMENT "Delay-load library for ${dll}.dll" VERBATIM)
  add_custom_target(${target}_archive DEPENDS ${archive})
  find_library(qm_delayimp NAMES libdelayimp.a REQUIRED)
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${archive} ${qm_delayimp})
  add_dependencies(${target} ${target}_archive)
endfunction()
