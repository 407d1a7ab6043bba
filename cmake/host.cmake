# Host tree: the portable core against the in-memory platform, under the sanitizers.
find_package(GTest REQUIRED)
include(GoogleTest)

set(ORV_MEMORY_SEAM_SOURCES ${ORV_SEAM_SOURCES})
list(FILTER ORV_MEMORY_SEAM_SOURCES INCLUDE REGEX "platform/memory/")
add_library(orvalinde_memory STATIC ${ORV_MEMORY_SEAM_SOURCES})
target_link_libraries(orvalinde_memory PUBLIC orvalinde_core)
target_compile_options(orvalinde_memory PRIVATE ${ORV_WARNINGS})

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS tests/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
target_link_libraries(host_tests PRIVATE orvalinde_memory GTest::gtest_main)
target_compile_options(host_tests PRIVATE ${ORV_WARNINGS})
gtest_discover_tests(host_tests TEST_PREFIX "host." DISCOVERY_TIMEOUT 60)
