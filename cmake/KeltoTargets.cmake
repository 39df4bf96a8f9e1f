# Helpers shared by every folder's CMakeLists.txt.

# kelto_library(<target> SOURCES <files...> [PUBLIC_LIBS <targets...>] [PRIVATE_LIBS <targets...>])
# One library per source folder; includes are written from the repository root
# ("platform/text.h", "kelto_qup/engine/registers.h").
function(kelto_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    # A folder whose code is headers only so far.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_PUBLIC_LIBS})
    return()
  endif()
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# kelto_test(<name> SOURCES <files...> LIBS <targets...>)
# A GoogleTest executable whose cases are registered with CTest one by one.
function(kelto_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kelto_test_support GTest::gtest GTest::gtest_main)
  # Listing a sanitizer build's cases can take longer than the default five
  # seconds on a busy machine; a timed-out listing fails every case.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kelto_benchmark(<name> SOURCES <files...> LIBS <targets...>)
# Built with the tests, never run by CTest: benchmarks are run by hand.
function(kelto_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kelto_test_support benchmark::benchmark)
endfunction()
