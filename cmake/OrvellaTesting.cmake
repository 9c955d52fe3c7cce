# orvella_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [TIMEOUT <s>])
# One Qt Test executable registered with CTest. Widget tests run on the offscreen platform so that
# they need no display; the real-binary tests under tests/e2e start their own X server instead.
#
# In the Windows cross-build only the tests named in ORVELLA_WINDOWS_TESTS (tests/CMakeLists.txt) are built and
# registered, with the label "windows"; CTest runs them under Wine. The others stay targets outside "all", so
# that the lines after a call (compile definitions, dependencies) need no condition of their own.
function(orvella_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
    if(WIN32 AND NOT T_NAME IN_LIST ORVELLA_WINDOWS_TESTS)
        add_executable(${T_NAME} EXCLUDE_FROM_ALL ${T_SOURCES})
        target_link_libraries(${T_NAME} PRIVATE Qt6::Test orvella_warnings ${T_LIBS})
        return()
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test orvella_warnings ${T_LIBS})
    # Whatever reads an older book starts the reading helper.
    if(TARGET orvella-oldbook-reader)
        add_dependencies(${T_NAME} orvella-oldbook-reader)
    endif()
    if(WIN32)
        list(APPEND T_LABELS windows)
        # wine-run.sh has the report written to a file and shows it (see there).
        list(APPEND T_ENVIRONMENT ORVELLA_QTEST=1)
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;${T_ENVIRONMENT}"
        TIMEOUT ${T_TIMEOUT})
    if(T_LABELS)
        set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()
