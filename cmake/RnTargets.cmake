# Sources of a folder, found afresh when files are added.
function(rn_sources out)
  file(GLOB _s CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  set(${out} ${_s} PARENT_SCOPE)
endfunction()

# rn_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable a folder; every test runs headless.
function(rn_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # A folder that brings its own main (a GUI test needs its QApplication)
  # names it test_main.cpp, or links a support library that has one.
  set(_main GTest::gtest_main)
  foreach(s ${T_SOURCES})
    if(s MATCHES "test_main\\.cpp$")
      set(_main "")
    endif()
  endforeach()
  foreach(l ${T_LIBS})
    if(l STREQUAL "rn_gui_test_support")
      set(_main "")
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest ${_main})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  rn_runtime_deps(${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A C ABI library exports only what its header marks for export. Template code
# of the standard library keeps default visibility all the same; a library that
# instantiates it lists its interface in exports.map beside its sources, and the
# version script leaves only those names exported.
function(rn_c_abi_library name)
  set_target_properties(${name} PROPERTIES
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  set(map ${CMAKE_CURRENT_SOURCE_DIR}/exports.map)
  if(EXISTS ${map})
    target_link_options(${name} PRIVATE "LINKER:--version-script=${map}")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${map})
  endif()
endfunction()

# Libraries the program loads by name at run time: build them with whatever
# needs them, though nothing links them.
function(rn_runtime_deps target)
  foreach(lib parvel quillet JmEngine)
    if(TARGET ${lib})
      add_dependencies(${target} ${lib})
    endif()
  endforeach()
endfunction()
