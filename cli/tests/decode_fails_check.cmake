# Runs plyvane-cli decode on a stream that must fail (under Wine for Windows
# builds): a non-zero exit, the expected message, and no output file left.
#   cmake -DCLI=... -DEMULATOR=... -DSTREAM=... -DOUT=... -DMESSAGE=... -P decode_fails_check.cmake
set(emulator ${EMULATOR})
file(REMOVE "${OUT}")
execute_process(COMMAND ${emulator} "${CLI}" decode "${STREAM}" -o "${OUT}"
                RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
if(result EQUAL 0)
    message(FATAL_ERROR "plyvane-cli decode ${STREAM} succeeded")
endif()
if(NOT errors MATCHES "${MESSAGE}")
    message(FATAL_ERROR "plyvane-cli decode ${STREAM} said '${errors}', not '${MESSAGE}'")
endif()
if(EXISTS "${OUT}")
    file(REMOVE "${OUT}")
    message(FATAL_ERROR "plyvane-cli decode ${STREAM} left ${OUT} behind")
endif()
