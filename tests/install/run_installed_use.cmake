# Installs the built library into a fresh prefix, builds a small program against it through
# find_package(KwCtrls) and runs it on an installed reference language file.
foreach(var KW_BUILD_DIR KW_PROJECT_DIR KW_WORK_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${KW_WORK_DIR})
set(prefix ${KW_WORK_DIR}/prefix)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}")
    endif()
    message(STATUS "${out}")
endfunction()

run(${CMAKE_COMMAND} --install ${KW_BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${KW_PROJECT_DIR} -B ${KW_WORK_DIR}/build -G Ninja
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_CXX_COMPILER=${KW_CXX_COMPILER} -DCMAKE_CXX_COMPILER_LAUNCHER=${KW_LAUNCHER}
    "-DCMAKE_CXX_FLAGS=${KW_SANITIZER_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${KW_SANITIZER_FLAGS}")
run(${CMAKE_COMMAND} --build ${KW_WORK_DIR}/build)
run(${KW_WORK_DIR}/build/kw_installed_use ${prefix}/share/kwctrls/English.lan)
