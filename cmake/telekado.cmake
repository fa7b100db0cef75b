# Shared CMake helpers.

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

# tk_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One Qt Test executable per test file, run by ctest on the offscreen platform.
function(tk_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
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
