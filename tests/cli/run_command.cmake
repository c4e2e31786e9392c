# Runs one command and checks what it did:
#   -DPROGRAM=path -DARGS="arg|arg|..." [-DEXPECT_EXIT=0] [-DGOLDEN=file] [-DSTDOUT_MATCH=regex]
#   [-DSTDERR_MATCH=regex] [-DWORKDIR=dir] [-DINPUT=file read as standard input]
if(NOT DEFINED EXPECT_EXIT)
    set(EXPECT_EXIT 0)
endif()
if(NOT DEFINED WORKDIR)
    set(WORKDIR ".")
endif()
set(input)
if(DEFINED INPUT)
    set(input INPUT_FILE "${INPUT}")
endif()
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND "${PROGRAM}" ${args}
                WORKING_DIRECTORY "${WORKDIR}"
                ${input}
                RESULT_VARIABLE exit_code
                OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT exit_code STREQUAL EXPECT_EXIT)
    message(FATAL_ERROR "exit code ${exit_code}, expected ${EXPECT_EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDOUT_MATCH AND NOT out MATCHES "${STDOUT_MATCH}")
    message(FATAL_ERROR "stdout does not match ${STDOUT_MATCH}:\n${out}")
endif()
if(DEFINED STDERR_MATCH AND NOT err MATCHES "${STDERR_MATCH}")
    message(FATAL_ERROR "stderr does not match ${STDERR_MATCH}:\n${err}")
endif()
if(DEFINED GOLDEN)
    file(READ "${GOLDEN}" expected)
    if(NOT out STREQUAL expected)
        file(WRITE "${GOLDEN}.actual" "${out}")
        message(FATAL_ERROR "output differs from ${GOLDEN}; see ${GOLDEN}.actual "
                            "(tools/update_goldens.sh regenerates the golden files)")
    endif()
endif()
