# Shared CMake helpers.

# Library edges. No library puts the repository root on anybody's include path. Each library
# exports its public headers, the .h files among its sources, under their path from the
# repository root ("report/model/component.h"), so a target includes a header only if it links
# the library that owns it. Headers meant for one library only end in _p.h: they are not
# exported, and the library's sources include them by their bare name ("codepage_p.h").
# A test of a library's internals says so with tk_add_test(... INTERNALS <library>).

# tk_export_headers(<target>)
# Call after the target's sources are listed. Links each public header into
# <build>/include/<target>/<path from the repository root> and makes that folder the target's
# public include folder; the target's own source folder is its private one.
function(tk_export_headers target)
  get_target_property(_sources ${target} SOURCES)
  get_target_property(_type ${target} TYPE)
  get_target_property(_folder ${target} SOURCE_DIR)
  set(_include ${CMAKE_BINARY_DIR}/include/${target})
  # Start afresh, so that a header renamed or moved to another library stops being reachable here.
  file(REMOVE_RECURSE ${_include})
  foreach(_source IN LISTS _sources)
    if(NOT _source MATCHES "\\.h$" OR _source MATCHES "_p\\.h$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH _source BASE_DIRECTORY ${_folder} NORMALIZE
               OUTPUT_VARIABLE _header)
    cmake_path(RELATIVE_PATH _header BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE _relative)
    cmake_path(GET _relative PARENT_PATH _parent)
    file(MAKE_DIRECTORY ${_include}/${_parent})
    file(CREATE_LINK ${_header} ${_include}/${_relative} SYMBOLIC)
  endforeach()
  if(_type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${_include})
  else()
    target_include_directories(${target} PUBLIC ${_include} PRIVATE ${_folder})
  endif()
endfunction()

# Adds every immediate subfolder of the current folder that holds a CMakeLists.txt,
# so that parallel work on separate subfolders never touches the parent's list.
function(tk_add_subfolders)
  file(GLOB _entries LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _entries)
  foreach(_e IN LISTS _entries)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_e}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_e}/CMakeLists.txt)
      add_subdirectory(${_e})
    endif()
  endforeach()
endfunction()

# tk_add_test(<name> SOURCES <files...> LIBS <targets...> [INTERNALS <targets...>]
#             [LABELS <labels...>])
# One Qt Test executable per test file, run by ctest on the offscreen platform. It sees the
# shared test helpers (tk::testsupport); INTERNALS links libraries whose private _p.h headers the
# test reaches as well, by putting their source folders on its include path.
function(tk_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;INTERNALS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test tk::testsupport ${T_LIBS} ${T_INTERNALS})
  foreach(_library IN LISTS T_INTERNALS)
    get_target_property(_folder ${_library} SOURCE_DIR)
    target_include_directories(${name} PRIVATE ${_folder})
  endforeach()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TK_BUILD_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 300)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# tk_add_fuzz_tests(<name> LIBS <targets...>)
# A parser's fuzz target, fuzz/<name>/fuzz_<name>.cpp: replayed on its seed corpus by
# test_<name>corpus.cpp in the normal build, and fuzzed for 30 seconds by fuzz/<name>/run_fuzz.sh
# when there is a clang to build it with.
function(tk_add_fuzz_tests name)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  tk_add_test(test_${name}corpus SOURCES test_${name}corpus.cpp ${PROJECT_SOURCE_DIR}/fuzz/${name}/fuzz_${name}.cpp
              LIBS ${F_LIBS})
  target_compile_definitions(test_${name}corpus PRIVATE TK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  find_program(TK_CLANGXX NAMES clang++ clang++-14)
  if(TK_CLANGXX)
    add_test(NAME fuzz_${name}
             COMMAND sh ${PROJECT_SOURCE_DIR}/fuzz/${name}/run_fuzz.sh ${CMAKE_BINARY_DIR}/fuzz-${name} 30)
    set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 900 LABELS fuzz ENVIRONMENT "CXX=${TK_CLANGXX}")
  endif()
endfunction()
