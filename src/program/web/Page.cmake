# The web page, in build/<preset>/page/: index.html with its style and start script, the program's script and module
# (tessarin.js, tessarin.wasm), the pictures in Bilder/, the icons, the web app manifest and the service worker, with
# relative paths only, so that the folder works from any static host under any sub-path. The release artefact,
# tessarin-web-<version>.zip beside it, holds the same files in a folder of that name.
set(page_dir ${PROJECT_BINARY_DIR}/page)
set(web_dir ${CMAKE_CURRENT_SOURCE_DIR}/web)

# The files the program reads beside itself, which the start script fetches and decodes before it starts.
file(GLOB pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/Bilder/*)
# The page asks for them at once, as it asks for the script and the module (index.html's preload hints).
set(PROGRAM_FILES "")
set(PICTURE_PRELOADS "")
set(picture_paths "")
foreach(picture IN LISTS pictures)
    cmake_path(GET picture FILENAME name)
    list(APPEND PROGRAM_FILES "'Bilder/${name}'")
    list(APPEND PICTURE_PRELOADS "<link rel=\"preload\" href=\"Bilder/${name}\" as=\"fetch\" crossorigin>")
    list(APPEND picture_paths Bilder/${name})
endforeach()
list(JOIN PROGRAM_FILES ", " PROGRAM_FILES)
list(JOIN PICTURE_PRELOADS "\n" PICTURE_PRELOADS)
configure_file(${web_dir}/start.js.in ${CMAKE_CURRENT_BINARY_DIR}/start.js @ONLY)
configure_file(${web_dir}/index.html.in ${CMAKE_CURRENT_BINARY_DIR}/index.html @ONLY)

# Debian's emscripten runs its JavaScript tools on node with Debian's own node modules, however the build is started.
set_property(DIRECTORY PROPERTY RULE_LAUNCH_LINK "${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs:/usr/lib/nodejs")

# Asyncify lets a handler wait for the player's answer to a question while the page goes on. Only the functions that
# can be on the stack while the module waits are instrumented: instrumenting every function that makes an indirect
# call, or calls through the JavaScript wrappers that catch C++ exceptions (invoke_*), costs a third of the module.
# The list is read off the module's call graph (tools/suspending_functions.mjs says how), from the program linked once
# more as the page's is but with its function names and nothing instrumented, so that it names what Asyncify finds.
# The calls through a pointer that can reach a wait are named by hand (pointer-calls.txt); the build stops when one of
# them no longer fits the code, or when a function that waits is reached through a pointer and none of them names it.
set(suspending_file ${CMAKE_CURRENT_BINARY_DIR}/suspending-functions.txt)

add_library(tessarin_program OBJECT WebMain.cpp Program.cpp)
target_link_libraries(tessarin_program PUBLIC tessarin_window tessarin_web PRIVATE tessarin_warnings)
add_executable(tessarin $<TARGET_OBJECTS:tessarin_program>)
target_link_libraries(tessarin PRIVATE tessarin_program)
set_target_properties(tessarin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page_dir} SUFFIX .js)
# What pays for itself in bytes: -Oz, emscripten's small allocator, no emulated file system (the toolkit reads the
# page's files through its script), a runtime that reads only the module setting the start script sets and decodes
# text only with TextDecoder. No eval or new Function, so that the page runs under a strict content security policy.
target_link_options(tessarin PRIVATE
    -Oz -sASYNCIFY "SHELL:-sASYNCIFY_IMPORTS=['invoke_*']" -sASYNCIFY_ONLY=@${suspending_file}
    -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web -sDYNAMIC_EXECUTION=0 -sMALLOC=emmalloc -sFILESYSTEM=0
    "SHELL:-sINCOMING_MODULE_JS_API=['instantiateWasm']" -sTEXTDECODER=2 -sSUPPORT_ERRNO=0)
foreach(script IN LISTS TESSARIN_WEB_PAGE_SCRIPTS)
    target_link_options(tessarin PRIVATE "SHELL:--pre-js ${script}")
endforeach()
set_property(TARGET tessarin APPEND PROPERTY LINK_DEPENDS ${TESSARIN_WEB_PAGE_SCRIPTS} ${suspending_file})

add_executable(tessarin_call_graph $<TARGET_OBJECTS:tessarin_program>)
target_link_libraries(tessarin_call_graph PRIVATE tessarin_program)
set(call_graph ${CMAKE_CURRENT_BINARY_DIR}/call-graph/tessarin_call_graph)
set_target_properties(tessarin_call_graph PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/call-graph
                      SUFFIX .js LINK_DEPENDS "${TESSARIN_WEB_PAGE_SCRIPTS}")
target_link_options(tessarin_call_graph PRIVATE
    "$<FILTER:$<TARGET_PROPERTY:tessarin,LINK_OPTIONS>,EXCLUDE,^-sASYNCIFY_ONLY=>" --profiling-funcs
    "SHELL:-sASYNCIFY_REMOVE=['*']")
find_program(NODE node REQUIRED)
find_program(WASM_DIS wasm-dis REQUIRED)
add_custom_command(OUTPUT ${suspending_file}
    COMMAND ${WASM_DIS} ${call_graph}.wasm -o ${call_graph}.wat
    COMMAND ${NODE} ${PROJECT_SOURCE_DIR}/tools/suspending_functions.mjs ${call_graph}.wat ${call_graph}.js
            ${web_dir}/pointer-calls.txt ${suspending_file}
    DEPENDS tessarin_call_graph ${PROJECT_SOURCE_DIR}/tools/suspending_functions.mjs ${web_dir}/pointer-calls.txt
    VERBATIM)
add_custom_target(suspending_functions DEPENDS ${suspending_file})
add_dependencies(tessarin suspending_functions)
# Binaryen's optimiser once more, to a fixed point, over the linked module: about a kilobyte less, gzipped.
find_program(WASM_OPT wasm-opt REQUIRED)
add_custom_command(TARGET tessarin POST_BUILD
    COMMAND ${WASM_OPT} -Oz --converge --enable-bulk-memory ${page_dir}/tessarin.wasm -o ${page_dir}/tessarin.wasm
    VERBATIM)

# The page's files from the sources, and the icons from the program's own.
set(page_copies "")
function(copy_to_page source relative)
    add_custom_command(OUTPUT ${page_dir}/${relative} COMMAND ${CMAKE_COMMAND} -E copy ${source} ${page_dir}/${relative}
                       DEPENDS ${source} VERBATIM)
    set(page_copies ${page_copies} ${page_dir}/${relative} PARENT_SCOPE)
endfunction()
foreach(name tessarin.css tessarin.webmanifest)
    copy_to_page(${web_dir}/${name} ${name})
endforeach()
foreach(name index.html start.js)
    copy_to_page(${CMAKE_CURRENT_BINARY_DIR}/${name} ${name})
endforeach()
foreach(picture IN LISTS pictures)
    cmake_path(GET picture FILENAME name)
    copy_to_page(${picture} Bilder/${name})
endforeach()
set(icons ${PROJECT_SOURCE_DIR}/packaging/icons)
copy_to_page(${icons}/tessarin.svg icons/tessarin.svg)
foreach(size 128 256)
    copy_to_page(${icons}/hicolor/${size}x${size}/apps/io.github.tessarin.Tessarin.png icons/tessarin-${size}.png)
endforeach()
add_custom_target(page ALL DEPENDS ${page_copies})
add_dependencies(tessarin page)

# The service worker keeps every file of the page but itself, under a release name that changes with any of them.
set(release_files index.html tessarin.css start.js tessarin.js tessarin.wasm tessarin.webmanifest icons/tessarin.svg
                  icons/tessarin-128.png icons/tessarin-256.png ${picture_paths})
set(worker ${page_dir}/sw.js)
add_custom_command(OUTPUT ${worker}
    COMMAND ${CMAKE_COMMAND} -DPAGE=${page_dir} -DTEMPLATE=${web_dir}/sw.js.in -DVERSION=${PROJECT_VERSION}
            "-DFILES=${release_files}" -P ${web_dir}/ServiceWorker.cmake
    DEPENDS ${web_dir}/sw.js.in ${web_dir}/ServiceWorker.cmake ${page_copies} tessarin
    VERBATIM)

# The release artefact: the page in a folder named like the zip, paths relative to it.
set(release_name tessarin-web-${PROJECT_VERSION})
set(release_zip ${PROJECT_BINARY_DIR}/${release_name}.zip)
set(stage ${CMAKE_CURRENT_BINARY_DIR}/stage)
set(staged "")
foreach(file IN LISTS release_files ITEMS sw.js)
    list(APPEND staged ${release_name}/${file})
endforeach()
add_custom_command(OUTPUT ${release_zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${page_dir} ${stage}/${release_name}
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${release_zip} --format=zip ${staged}
    DEPENDS ${worker} ${page_copies} tessarin
    VERBATIM)
add_custom_target(web_release ALL DEPENDS ${release_zip})
