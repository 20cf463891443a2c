# Delay-loaded imports: each library named is loaded at the first call into it rather than
# when the program starts. Under Wine every library loaded at start-up lengthens the start
# (ole32, oleaut32 and crypt32 some 10-15 ms each), and a plain download calls none of them.
# The delay-import library is made by dlltool from the functions that the toolchain's own
# import library exports; it is linked ahead of the plain one, whose symbols it shadows.
function(kv_delay_load target)
  find_program(KORVENDAL_NM ${KORVENDAL_TRIPLE}-nm REQUIRED)
  find_program(KORVENDAL_DLLTOOL ${KORVENDAL_TRIPLE}-dlltool REQUIRED)
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/delay-load")
  file(MAKE_DIRECTORY "${folder}")
  set(libraries "")
  foreach(dll IN LISTS ARGN)
    find_library(KORVENDAL_IMPORT_${dll} lib${dll}.a REQUIRED)
    set(def "${folder}/${dll}.def")
    set(lib "${folder}/lib${dll}_delay.a")
    if(NOT EXISTS "${lib}")
      execute_process(COMMAND ${KORVENDAL_NM} -g --defined-only "${KORVENDAL_IMPORT_${dll}}"
                      OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      # "00000000 T _CertOpenStore@20" on x86 (stdcall, C underscore), "... T CertOpenStore" on x64.
      string(REGEX MATCHALL "[0-9a-f]+ T [^\n]+" functions "${symbols}")
      set(lines "LIBRARY ${dll}.dll\nEXPORTS\n")
      foreach(entry IN LISTS functions)
        string(REGEX REPLACE "^[0-9a-f]+ T " "" name "${entry}")
        if(KORVENDAL_ARCH STREQUAL "x86")
          string(REGEX REPLACE "^_" "" name "${name}")
        endif()
        string(APPEND lines "${name}\n")
      endforeach()
      file(WRITE "${def}" "${lines}")
      execute_process(COMMAND ${KORVENDAL_DLLTOOL} --kill-at --input-def "${def}" --dllname ${dll}.dll
                              --output-delaylib "${lib}"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND libraries "${lib}")
  endforeach()
  target_link_libraries(${target} PRIVATE ${libraries})
endfunction()
