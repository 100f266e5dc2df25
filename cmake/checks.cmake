# Pecunette — apprendre à remplir un chèque.
# Build variants that look for faults rather than ship:
#   PECUNETTE_SANITIZE  every library, test and tool with AddressSanitizer and
#                       UndefinedBehaviorSanitizer, stopping at the first report;
#   PECUNETTE_FUZZ      the same with clang's libFuzzer coverage, and the fuzz/
#                       targets (configure with CMAKE_CXX_COMPILER=clang++).
# Qt itself stays uninstrumented: only the project's own code is checked.

option(PECUNETTE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(PECUNETTE_FUZZ "Build the libFuzzer targets of fuzz/ (clang only)" OFF)

# -O1: the sanitizers' own advice, and a sanitized suite several times faster than at -O0.
set(PECUNETTE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -O1)

if(PECUNETTE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PECUNETTE_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Coverage for the fuzzer in every library; only the fuzz targets link its main().
  add_compile_options(${PECUNETTE_SANITIZER_FLAGS} -fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=address,undefined)
elseif(PECUNETTE_SANITIZE)
  add_compile_options(${PECUNETTE_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# What the tests run with in a sanitized build (tests/CMakeLists.txt adds it to
# each test): stop at the first report, full stacks, and the few leaks of
# uninstrumented system libraries left out by name.
set(PECUNETTE_SANITIZER_ENV
  "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
  "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0")
