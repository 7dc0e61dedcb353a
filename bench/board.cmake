tessarin_add_bench(bench_board SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/board_bench.cpp LIBS tessarin_board)
# Builds its window the way the board tests do.
target_include_directories(bench_board PRIVATE ${PROJECT_SOURCE_DIR}/tests/board)
