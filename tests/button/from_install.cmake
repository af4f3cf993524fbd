# cmake -DBUILD=<build tree> -DSAMPLE=<button/sample> -DTOOLCHAIN=<file> -DRUN=<emulator> -P
set(prefix ${BUILD}/butt-install)
set(sample ${BUILD}/butt-sample)
file(REMOVE_RECURSE ${prefix} ${sample})
foreach(step "${CMAKE_COMMAND};--install;${BUILD};--prefix;${prefix}"
        "${CMAKE_COMMAND};-S;${SAMPLE};-B;${sample};-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN};-DCMAKE_PREFIX_PATH=${prefix};-DCMAKE_BUILD_TYPE=Release"
        "${CMAKE_COMMAND};--build;${sample}"
        "${RUN};${sample}/butt_sample.exe;--close-after;300")
  execute_process(COMMAND ${step} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${step}")
  endif()
endforeach()
