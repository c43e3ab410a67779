# Shared build helpers: one place for warnings, libraries, tests and benchmarks.

# Address and undefined-behaviour checks on everything built here (program, tests, tools,
# benchmarks), with the standard library's bounds checks. Any undefined behaviour stops the
# program, so a test cannot pass over it. Meant for a Debug build, where Q_ASSERT stays live.
option(WAVELORE_SANITIZE "Build with AddressSanitizer, UBSan and the standard library's assertions" OFF)
if(WAVELORE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS)
  add_link_options(-fsanitize=address,undefined)
endif()

function(wavelore_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
    -Wno-missing-field-initializers)
  if(WAVELORE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A subsystem library made of every .cpp/.h in its folder (not recursive).
# Files under <folder>/ui/ go into the widget library instead.
function(wavelore_library name folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${folder}/*.h)
  if(sources)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    wavelore_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# One test executable per tests/<subsystem>[/ui]/<Name>Test.cpp, named after its folder.
# Every one is a QtTest program, run through esito-qtest.sh: it passes only with status 0
# and QtTest's totals line counting 0 failed, so a program that stops early fails.
# Leaves the test's name and target in WAVELORE_TEST_NAME and WAVELORE_TEST_TARGET.
function(wavelore_add_test source)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS" ${ARGN})
  get_filename_component(name ${source} NAME_WE)
  get_filename_component(dir ${source} DIRECTORY)
  file(RELATIVE_PATH sub ${CMAKE_CURRENT_SOURCE_DIR} ${dir})
  string(REPLACE "/" "_" sub_target ${sub})
  set(target test_${sub_target}_${name})
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE wavelore_testcommon ${ARG_LIBS})
  wavelore_warnings(${target})
  add_test(NAME ${sub}/${name} COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/esito-qtest.sh $<TARGET_FILE:${target}>)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(WAVELORE_SANITIZE)
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 3")  # unoptimised and checked, tests run several times slower
  endif()
  set_tests_properties(${sub}/${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;WAVELORE_TOOLS_DIR=${PROJECT_BINARY_DIR}/tools;WAVELORE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  set(WAVELORE_TEST_NAME ${sub}/${name} PARENT_SCOPE)
  set(WAVELORE_TEST_TARGET ${target} PARENT_SCOPE)
endfunction()

# bench/<name>.cpp -> bench_<name>; ./bench runs every bench_* program.
function(wavelore_add_bench source)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  get_filename_component(name ${source} NAME_WE)
  add_executable(bench_${name} ${source})
  target_link_libraries(bench_${name} PRIVATE wavelore_benchcommon ${ARG_LIBS})
  set_target_properties(bench_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
  wavelore_warnings(bench_${name})
endfunction()
