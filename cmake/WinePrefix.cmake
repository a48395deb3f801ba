# cmake -DACTION=create|stop -DPREFIX=... -DEMULATOR=... -DWINESERVER=... -P WinePrefix.cmake
# Makes the Wine prefix the Windows tests run in, once, or stops its server.
# Every step is bounded in time, so a Wine that hangs fails the fixture.
if(ACTION STREQUAL "create")
    if(EXISTS ${PREFIX}/system.reg)
        return()
    endif()
    string(TIMESTAMP started "%s")
    execute_process(COMMAND ${EMULATOR} wineboot --init
        RESULT_VARIABLE result TIMEOUT 150)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "wineboot --init failed: ${result}")
    endif()
    # The registry reaches the disk when the server ends.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${PREFIX} ${WINESERVER} --wait
        TIMEOUT 60)
    string(TIMESTAMP finished "%s")
    math(EXPR seconds "${finished} - ${started}")
    message(STATUS "Wine prefix made in ${seconds} s: ${PREFIX}")
elseif(ACTION STREQUAL "stop")
    if(EXISTS ${PREFIX})
        execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${PREFIX} ${WINESERVER} --kill
            TIMEOUT 30)
    endif()
else()
    message(FATAL_ERROR "ACTION must be create or stop, not '${ACTION}'")
endif()
