# Shared by the fuzz targets' projects, each built with clang by its run_fuzz.sh since the main
# build uses g++: the language level, TK_ROOT and tk_fuzz_target().
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(TK_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." CACHE PATH "The repository root")

# tk_fuzz_target(<name> <sources...>): the executable fuzz_<name>, built with libFuzzer and the
# address and undefined-behaviour sanitizers, the repository root on its include path and the
# project's string rules.
function(tk_fuzz_target name)
  add_executable(fuzz_${name} ${ARGN})
  target_include_directories(fuzz_${name} PRIVATE ${TK_ROOT})
  target_compile_definitions(fuzz_${name} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS)
  target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer -g)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()
