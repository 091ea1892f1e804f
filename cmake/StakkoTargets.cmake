# Helpers that turn a folder into a library, a test suite or a set of tools.

# stakko_library(<target> <folder> [deps...] [EXCLUDE files...])
# Builds every .cpp directly in <folder> into a static library. A folder without sources yet
# becomes an interface library, so the layout can exist before its code does.
function(stakko_library target folder)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${folder}/${ex})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_UNPARSED_ARGUMENTS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_UNPARSED_ARGUMENTS})
  endif()
endfunction()

# stakko_link_back(<lower> <upper>): a mutual dependency between two static libraries.
function(stakko_link_back lower upper)
  get_target_property(lower_type ${lower} TYPE)
  get_target_property(upper_type ${upper} TYPE)
  if(lower_type STREQUAL "STATIC_LIBRARY" AND upper_type STREQUAL "STATIC_LIBRARY")
    target_link_libraries(${lower} PUBLIC ${upper})
    set_property(TARGET ${lower} PROPERTY LINK_INTERFACE_MULTIPLICITY 3)
  endif()
endfunction()

# stakko_test_suite(<name> <folder> [deps...])
# One test program per folder of tests/, every test registered with CTest with a time-out. The
# shared test main puts SDL on its dummy drivers (a list-valued ENVIRONMENT here would be split
# apart by the discovery and swallow the TIMEOUT after it).
function(stakko_test_suite name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE stakko_testsupport ${ARGN} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120)
endfunction()
