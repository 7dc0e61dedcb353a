# The web page, in build/<preset>/page/: index.html with its style and start script, the program's script and module
# (tessarin.js, tessarin.wasm), the pictures in Bilder/, the icons, the web app manifest and the service worker, with
# relative paths only, so that the folder works from any static host under any sub-path. The release artefact,
# tessarin-web-<version>.zip beside it, holds the same files in a folder of that name.
set(page_dir ${PROJECT_BINARY_DIR}/page)
set(web_dir ${CMAKE_CURRENT_SOURCE_DIR}/web)

# The files the program reads beside itself, which the start script fetches for it before it starts.
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
# Those wrappers re-enter the module through dynCall_*. A name the optimiser inlined is reported missing at the link
# and stays listed for a build that keeps it; one missing from the list breaks the page's questions or its event
# loop, which the page's tests play. Anything new that can wait for the player belongs here.
set(suspending_functions
    # The event loop waits for input; RunProgram (inlined into main) runs it through a virtual call.
    main
    "RunProgram()"
    "dynCall_*"
    "toolkit::web::FormWindow::Run()"
    "toolkit::web::FormWindow::Dispatch(*)"
    "toolkit::web::page::NextEvent()"
    # Handlers run through std::function under the front end's guard, and may ask a question. Every function a
    # std::function calls is instrumented, so that a handler wrapped anew cannot fall out of the list unnoticed.
    "toolkit::FrontEnd::RunHandler(*)"
    "std::__2::function<*>::operator()(*) const"
    "std::__2::__function::__value_func<*>::operator()(*) const"
    "std::__2::__function::__func<*>::operator()(*)"
    "toolkit::MenuItem::Choose() const"
    # The window's handlers that ask: the options and Exit.
    "Game::mnu*_Click(*)"
    "Game::ChooseOption(*)"
    "toolkit::Form::RequestClose()"
    "Game::Form_Unload(*)"
    "(anonymous namespace)::AnsweredYes(*)"
    # The question itself: the toolkit's MsgBox and, through a virtual call, the platform's.
    "*::MsgBox(*)"
    "toolkit::web::page::Ask(*)")
list(JOIN suspending_functions "\n" suspending_list)
set(suspending_file ${CMAKE_CURRENT_BINARY_DIR}/suspending-functions.txt)
file(CONFIGURE OUTPUT ${suspending_file} CONTENT "${suspending_list}\n")

add_executable(tessarin WebMain.cpp Program.cpp)
target_link_libraries(tessarin PRIVATE tessarin_window tessarin_web tessarin_warnings)
set_target_properties(tessarin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page_dir} SUFFIX .js)
# What pays for itself in bytes: -Oz, emscripten's small allocator, a runtime that reads only the module settings the
# page sets and decodes text only with TextDecoder. No eval or new Function, so that the page runs under a strict
# content security policy.
target_link_options(tessarin PRIVATE
    -Oz -sASYNCIFY "SHELL:-sASYNCIFY_IMPORTS=['invoke_*']" -sASYNCIFY_ONLY=@${suspending_file}
    -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web -sDYNAMIC_EXECUTION=0 -sMALLOC=emmalloc
    "SHELL:-sINCOMING_MODULE_JS_API=['preRun','instantiateWasm']" -sTEXTDECODER=2 -sSUPPORT_ERRNO=0)
foreach(script IN LISTS TESSARIN_WEB_PAGE_SCRIPTS)
    target_link_options(tessarin PRIVATE "SHELL:--pre-js ${script}")
endforeach()
set_property(TARGET tessarin APPEND PROPERTY LINK_DEPENDS ${TESSARIN_WEB_PAGE_SCRIPTS} ${suspending_file})
# Binaryen's optimiser once more, to a fixed point, over the linked module: about a kilobyte less, gzipped.
find_program(WASM_OPT wasm-opt REQUIRED)
add_custom_command(TARGET tessarin POST_BUILD
    COMMAND ${WASM_OPT} -Oz --converge ${page_dir}/tessarin.wasm -o ${page_dir}/tessarin.wasm VERBATIM)

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
