# The web page, in build/<preset>/page/: index.html with its style and start script, the program's script and module
# (tessarin.js, tessarin.wasm), and the pictures in Bilder/, with relative paths only, so that the folder works from
# any static host under any sub-path.
set(page_dir ${PROJECT_BINARY_DIR}/page)
set(page_sources ${CMAKE_CURRENT_SOURCE_DIR}/web/index.html ${CMAKE_CURRENT_SOURCE_DIR}/web/tessarin.css
                 ${CMAKE_CURRENT_SOURCE_DIR}/web/start.js)

# The files the program reads beside itself, which the page fetches for it before it starts.
file(GLOB pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/Bilder/*)
set(program_files "")
foreach(picture IN LISTS pictures)
    cmake_path(GET picture FILENAME name)
    list(APPEND program_files "\"Bilder/${name}\"")
endforeach()
list(JOIN program_files ", " program_files)
set(files_script ${CMAKE_CURRENT_BINARY_DIR}/program-files.js)
file(CONFIGURE OUTPUT ${files_script} CONTENT "var TessarinProgramFiles = [${program_files}];\n")

# Debian's emscripten runs its JavaScript tools on node with Debian's own node modules, however the build is started.
set_property(DIRECTORY PROPERTY RULE_LAUNCH_LINK "${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs:/usr/lib/nodejs")

add_executable(tessarin WebMain.cpp Program.cpp)
target_link_libraries(tessarin PRIVATE tessarin_window tessarin_web tessarin_warnings)
set_target_properties(tessarin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page_dir} SUFFIX .js)
# Asyncify lets a handler wait for the player's answer to a question while the page goes on.
target_link_options(tessarin PRIVATE
    -sASYNCIFY -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web
    "SHELL:--pre-js ${files_script}" "SHELL:--pre-js ${TESSARIN_WEB_PAGE_SCRIPT}")
set_property(TARGET tessarin APPEND PROPERTY LINK_DEPENDS ${files_script} ${TESSARIN_WEB_PAGE_SCRIPT})

set(page_copies "")
foreach(source IN LISTS page_sources pictures)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
    if(relative MATCHES "^Bilder/")
        set(target ${page_dir}/${relative})
    else()
        cmake_path(GET source FILENAME name)
        set(target ${page_dir}/${name})
    endif()
    add_custom_command(OUTPUT ${target} COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target} DEPENDS ${source}
                       VERBATIM)
    list(APPEND page_copies ${target})
endforeach()
add_custom_target(page ALL DEPENDS ${page_copies})
add_dependencies(tessarin page)
