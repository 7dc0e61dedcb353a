# Start-up benchmark: the bare window the game is measured against, and the watcher that times the mapping of a
# window on an X server. Run with bench/startup.sh, or `cmake --build <dir> --target startup_bench`.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_executable(bare_window bare_window.cpp)
target_link_libraries(bare_window PRIVATE Qt6::Widgets tessarin_warnings)

# The watcher needs an X server, so it is built only where XCB is available; the bare window builds everywhere.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
    pkg_check_modules(XCB QUIET IMPORTED_TARGET xcb)
endif()
if(XCB_FOUND)
    add_executable(map_watch map_watch.cpp)
    target_link_libraries(map_watch PRIVATE PkgConfig::XCB tessarin_warnings)
    add_custom_target(startup_bench
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/startup.sh
                $<TARGET_FILE:tessarin> $<TARGET_FILE:bare_window> $<TARGET_FILE:map_watch>
        DEPENDS tessarin bare_window map_watch
        USES_TERMINAL
        VERBATIM)

    # The harness itself, not the figures (those swing with the machine's load): the bare window measured against
    # itself must give a full report, and a program that never maps a window must be reported as such.
    if(TESSARIN_BUILD_TESTS)
        add_test(NAME bench.startup_harness_reports
                 COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/startup.sh -n 7 -s 50
                         $<TARGET_FILE:bare_window> $<TARGET_FILE:bare_window> $<TARGET_FILE:map_watch>)
        set_tests_properties(bench.startup_harness_reports PROPERTIES TIMEOUT 120
            PASS_REGULAR_EXPRESSION "median peak RSS: +game +[0-9.]+ MiB +bare +[0-9.]+ MiB +ratio [0-9.]+")
        add_test(NAME bench.map_watch_reports_a_program_without_window
                 COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with_xvfb.sh $<TARGET_FILE:map_watch> --timeout 10000 -- true)
        set_tests_properties(bench.map_watch_reports_a_program_without_window PROPERTIES TIMEOUT 60
            PASS_REGULAR_EXPRESSION "never mapped a window \\(it exited\\)")
    endif()
else()
    message(STATUS "XCB not found: the start-up watcher map_watch is not built")
endif()
