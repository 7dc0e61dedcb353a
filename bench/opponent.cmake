tessarin_add_bench(bench_opponent SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/opponent_bench.cpp LIBS tessarin_opponent)
# Reuses the generator of played positions that the exhaustive tests use.
target_include_directories(bench_opponent PRIVATE ${PROJECT_SOURCE_DIR}/tests/opponent)
