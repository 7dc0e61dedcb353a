tessarin_add_bench(gdi_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/gdi_bench.cpp LIBS tessarin_gdi)
