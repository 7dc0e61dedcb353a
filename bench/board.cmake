tessarin_add_bench(bench_board SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/board_bench.cpp LIBS tessarin_board tessarin_test_support)
