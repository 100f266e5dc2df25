# Pecunette — apprendre à remplir un chèque.
# Build variants that look for faults rather than ship:
#   PECUNETTE_SANITIZE  every library, test and tool with AddressSanitizer and
#                       UndefinedBehaviorSanitizer, stopping at the first report;
#   PECUNETTE_FUZZ      the same with clang's libFuzzer coverage, and the fuzz/
#                       targets (configure with CMAKE_CXX_COMPILER=clang++).
# Qt itself stays uninstrumented: only the project's own code is checked.

option(PECUNETTE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(PECUNETTE_FUZZ "Build the libFuzzer targets of fuzz/ (clang only)" OFF)

set(PECUNETTE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

if(PECUNETTE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PECUNETTE_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Coverage for the fuzzer in every library; only the fuzz targets link its main().
  add_compile_options(${PECUNETTE_SANITIZER_FLAGS} -fsanitize=fuzzer-no-link -O1)
  add_link_options(-fsanitize=address,undefined)
elseif(PECUNETTE_SANITIZE)
  add_compile_options(${PECUNETTE_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
  # This build runs in the test command after the plain one, so it is kept
  # cheap: unoptimised, which compiles a third faster, but with -O1 (the
  # sanitizers' own advice) for the pure rules and the tests that run them over
  # every amount, which would take minutes without it; no benchmarks.
  function(pecunette_sanitized_build_targets)
    foreach(target pecunette_rules test_cheque_rules test_number_styles test_number_styles_exhaustive)
      if(TARGET ${target})
        target_compile_options(${target} PRIVATE -O1)
      endif()
    endforeach()
    foreach(target bench_wording bench_history bench_soak startup_baseline)
      if(TARGET ${target})
        set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
      endif()
    endforeach()
  endfunction()
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL pecunette_sanitized_build_targets)
endif()

# What the tests run with in a sanitized build (tests/CMakeLists.txt adds it to
# each test): stop at the first report, full stacks, and the few leaks of
# uninstrumented system libraries left out by name.
set(PECUNETTE_SANITIZER_ENV
  "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
  "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0")
