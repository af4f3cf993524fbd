# Checks the shipped program file from the outside: it imports only system DLLs (a static
# build), and it carries its manifest (asInvoker, no common-controls 6 binding) and version
# information.
# Arguments: -DEXE=path -DOBJDUMP=path
cmake_minimum_required(VERSION 3.25)
set(system_dlls advapi32 comctl32 comdlg32 gdi32 kernel32 msimg32 msvcrt ole32 oleaut32
    shell32 shlwapi user32 uxtheme version windowscodecs)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump cannot read ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no imports found in ${EXE}")
endif()
foreach(entry IN LISTS imports)
  string(REGEX REPLACE "DLL Name: ([^.]+)\\.dll" "\\1" dll "${entry}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls)
    message(SEND_ERROR "imports a DLL that is not part of Windows: ${entry}")
  endif()
endforeach()

# With its asInvoker manifest Windows never takes it for an installer, whatever its name.
get_filename_component(name ${EXE} NAME)

file(STRINGS ${EXE} manifest REGEX "requestedExecutionLevel|Common-Controls")
if(NOT manifest MATCHES "level=\"asInvoker\"")
  message(SEND_ERROR "no asInvoker manifest in ${name}")
endif()
if(manifest MATCHES "name=\"Microsoft.Windows.Common-Controls\"")
  message(SEND_ERROR "${name} binds to common controls 6: the check boxes would lose their colours")
endif()
file(STRINGS ${EXE} version ENCODING UTF-16LE REGEX "VS_VERSION_INFO|OriginalFilename")
if(NOT version MATCHES "VS_VERSION_INFO")
  message(SEND_ERROR "no version information in ${name}")
endif()
message(STATUS "${name}: ${imports}")
