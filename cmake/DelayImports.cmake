# Windows DLLs that start-up never calls into are imported with delay: the loader maps one the first time
# one of its functions is called, not before wWinMain. Measured under Wine, mapping them at start cost
# more than the whole skin: the common controls (version 6, as the manifest asks) alone took 26 to 55 ms,
# and the network and cache DLLs that curl and the cache cleaner use about 10 ms more. The launcher needs
# the common controls only for its first tooltip and the child process for the browser host's
# subclassing; the network DLLs only when an update download starts; WinINet only when the cache is
# cleaned; OLE Automation (strings and variants of the browser host) only in the child process. dbghelp stays an ordinary import: it costs nothing measurable at start, and the crash report
# must not have to load a DLL while the process is in trouble.
#
# For each DLL a delay-import library is made at configure time from the toolchain's import library: a
# definition file lists every function it imports, and dlltool turns it into thunks that load the DLL
# on the first call (mingw-w64's __delayLoadHelper2). An imported target of the library's plain name
# then stands wherever the project links that name. The ordinary import library is linked after the
# delay one, for the few static parts some import libraries carry (in6addr_any in ws2_32).
set(TOLVANE_DELAY_IMPORTED comctl32 wininet ws2_32 crypt32 bcrypt oleaut32)

function(tolvane_delay_import_library name)
  find_library(_ordinary NAMES lib${name}.a NO_CACHE REQUIRED)
  set(_dir ${PROJECT_BINARY_DIR}/delay-imports)
  set(_def ${_dir}/${name}.def)
  set(_delay ${_dir}/lib${name}-delay.a)
  file(MAKE_DIRECTORY ${_dir})
  execute_process(COMMAND ${CMAKE_DLLTOOL} --identify ${_ordinary}
                  OUTPUT_VARIABLE _dll OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_NM} ${_ordinary} OUTPUT_VARIABLE _symbols COMMAND_ERROR_IS_FATAL ANY)
  # A function has its thunk ("T name") and its import slot ("I __imp_name"); data exports have only
  # the slot and cannot be delayed. 32-bit symbols carry one more leading underscore than the export.
  string(REGEX MATCHALL "[^\n]+ T [^\n]+" _thunks "${_symbols}")
  set(_exports "")
  foreach(_line IN LISTS _thunks)
    string(REGEX REPLACE "^.* T " "" _symbol "${_line}")
    string(FIND "${_symbols}" " I __imp_${_symbol}\n" _slot)
    if(_slot EQUAL -1)
      continue()
    endif()
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686" AND _symbol MATCHES "^_")
      string(SUBSTRING "${_symbol}" 1 -1 _symbol)
    endif()
    list(APPEND _exports "${_symbol}")
  endforeach()
  list(REMOVE_DUPLICATES _exports)
  if(NOT _exports)
    message(FATAL_ERROR "No functions found in ${_ordinary}")
  endif()
  list(JOIN _exports "\n" _lines)
  file(WRITE ${_def} "LIBRARY ${_dll}\nEXPORTS\n${_lines}\n")
  set(_kill_at "")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(_kill_at --kill-at)  # stdcall names are exported without their @n
  endif()
  execute_process(COMMAND ${CMAKE_DLLTOOL} ${_kill_at} --input-def ${_def} --dllname ${_dll}
                          --output-delaylib ${_delay}
                  COMMAND_ERROR_IS_FATAL ANY)
  add_library(${name} INTERFACE IMPORTED)
  target_link_libraries(${name} INTERFACE ${_delay} ${_ordinary})
endfunction()

if(WIN32)
  foreach(_name IN LISTS TOLVANE_DELAY_IMPORTED)
    tolvane_delay_import_library(${_name})
  endforeach()
endif()
