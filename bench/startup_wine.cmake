# The Windows program's start-up under Wine: the bare Win32 window it is measured against, and map_watch built for
# the host, which runs Wine and the X server. Run with bench/startup_wine.sh, or
# `cmake --build build/windows --target startup_bench`; bench/wine_requests.sh (target startup_requests) counts
# the requests each makes to the wineserver on the way. The targets startup_bench_components and
# startup_requests_components measure the game against the bare window that also decodes the game's pictures
# through COM and WIC: what the game spends beyond that is its own.
get_target_property(program_dir tessarin SOURCE_DIR)
configure_file(bare_window_win32.rc.in bare_window_win32.rc @ONLY)
add_executable(bare_window_win32 WIN32 bare_window_win32.cpp ${CMAKE_CURRENT_BINARY_DIR}/bare_window_win32.rc)
target_compile_definitions(bare_window_win32 PRIVATE UNICODE _UNICODE)
target_link_libraries(bare_window_win32 PRIVATE uuid tessarin_warnings)
if(MINGW)
    # Laid out in the file as the game is, so that Wine maps both alike.
    target_link_options(bare_window_win32 PRIVATE -municode LINKER:--file-alignment=4096)
elseif(MSVC)
    target_link_options(bare_window_win32 PRIVATE /MANIFEST:NO)
endif()

if(NOT CMAKE_HOST_UNIX)
    return()
endif()
file(GLOB game_pictures ${PROJECT_SOURCE_DIR}/Bilder/*)
set(bare_with_components -b --decode)
foreach(picture IN LISTS game_pictures)
    list(APPEND bare_with_components -b ${picture})
endforeach()
# The pair's requests to the wineserver before the window shows: a count the machine's load does not move. Its
# smoke test reads Wine's trace of requests: a Wine whose trace reads otherwise finds no window shown.
add_custom_target(startup_requests
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wine_requests.sh $<TARGET_FILE:tessarin> $<TARGET_FILE:bare_window_win32>
    DEPENDS tessarin bare_window_win32
    USES_TERMINAL
    VERBATIM)
add_custom_target(startup_requests_components
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wine_requests.sh ${bare_with_components}
            $<TARGET_FILE:tessarin> $<TARGET_FILE:bare_window_win32>
    DEPENDS tessarin bare_window_win32
    USES_TERMINAL
    VERBATIM)
if(TESSARIN_BUILD_TESTS)
    add_test(NAME bench.wine_requests_reports
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wine_requests.sh -g --wic
                     $<TARGET_FILE:bare_window_win32> $<TARGET_FILE:bare_window_win32>)
    set_tests_properties(bench.wine_requests_reports PROPERTIES TIMEOUT 180
        PASS_REGULAR_EXPRESSION "before the window shows: game [0-9]+ +bare [0-9]+ +ratio [0-9.]+")
endif()

find_program(TESSARIN_HOST_CXX NAMES c++ g++ clang++ DOC "The host's C++ compiler, for the start-up watcher")
find_path(TESSARIN_HOST_XCB_INCLUDE xcb/xcb.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT TESSARIN_HOST_CXX OR NOT TESSARIN_HOST_XCB_INCLUDE)
    message(STATUS "No host C++ compiler with XCB: the start-up watcher map_watch is not built")
    return()
endif()
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/map_watch
    COMMAND ${TESSARIN_HOST_CXX} -std=c++20 -O2 -Wall -Wextra ${CMAKE_CURRENT_SOURCE_DIR}/map_watch.cpp -lxcb
            -o ${CMAKE_CURRENT_BINARY_DIR}/map_watch
    DEPENDS map_watch.cpp
    COMMENT "Building map_watch for the host"
    VERBATIM)
add_custom_target(map_watch ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/map_watch)
add_custom_target(startup_bench
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/startup_wine.sh
            $<TARGET_FILE:tessarin> $<TARGET_FILE:bare_window_win32> ${CMAKE_CURRENT_BINARY_DIR}/map_watch
    DEPENDS tessarin bare_window_win32 map_watch
    USES_TERMINAL
    VERBATIM)
add_custom_target(startup_bench_components
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/startup_wine.sh ${bare_with_components}
            $<TARGET_FILE:tessarin> $<TARGET_FILE:bare_window_win32> ${CMAKE_CURRENT_BINARY_DIR}/map_watch
    DEPENDS tessarin bare_window_win32 map_watch
    USES_TERMINAL
    VERBATIM)

# The harness, not the figures: the bare window with the imaging component measured against the bare window must
# give a full report (the option reaches the program, and a program that fails before its window is reported).
if(TESSARIN_BUILD_TESTS)
    add_test(NAME bench.startup_wine_harness_reports
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/startup_wine.sh -n 7 -s 50 -g --wic
                     $<TARGET_FILE:bare_window_win32> $<TARGET_FILE:bare_window_win32>
                     ${CMAKE_CURRENT_BINARY_DIR}/map_watch)
    set_tests_properties(bench.startup_wine_harness_reports PROPERTIES TIMEOUT 180
        PASS_REGULAR_EXPRESSION "median map time: +game +[0-9.]+ ms +bare +[0-9.]+ ms +ratio [0-9.]+")
endif()
