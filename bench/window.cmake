tessarin_add_bench(bench_window SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/window_bench.cpp
    LIBS tessarin_window tessarin_decoders tessarin_test_support)
target_compile_definitions(bench_window PRIVATE TESSARIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
