# After startup.cmake, whose map_watch it uses.
# Heavy and hostile pictures: heavy_pictures writes them, bench/pictures.sh starts the game with them under Xvfb and
# reports its peak and held memory. Run with `cmake --build <dir> --target pictures_bench`.
find_package(GIF REQUIRED)
find_package(JPEG REQUIRED)
add_executable(heavy_pictures ${CMAKE_CURRENT_SOURCE_DIR}/heavy_pictures.cpp)
target_link_libraries(heavy_pictures PRIVATE GIF::GIF JPEG::JPEG tessarin_warnings)
if(TARGET map_watch)
    add_custom_target(pictures_bench
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/pictures.sh
                $<TARGET_FILE:tessarin> $<TARGET_FILE:map_watch> $<TARGET_FILE:heavy_pictures>
        DEPENDS tessarin map_watch heavy_pictures
        USES_TERMINAL
        VERBATIM)
endif()
