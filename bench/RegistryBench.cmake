# SPDX-License-Identifier: GPL-3.0-or-later
# The card registry at the scale of a hall's season: a lookup by serial and a sheet recorded, in a registry of
# a million cards. Prints key=value lines. The filled registry is kept in the build folder between runs, as
# filling it takes a while.
add_executable(cantabola_bench_registry ${CMAKE_CURRENT_LIST_DIR}/RegistryBench.cpp)
target_compile_definitions(cantabola_bench_registry PRIVATE
    CANTABOLA_BENCH_REGISTRY_DIR="${CMAKE_BINARY_DIR}/bench-registry")
target_link_libraries(cantabola_bench_registry PRIVATE cantabola_registry)
