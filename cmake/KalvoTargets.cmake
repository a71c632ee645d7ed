# Every core subsystem is a static library built from the .cpp files of its folder.
#
# With KALVO_SANITIZE=ON (the build ./test makes in build-test/) every target of the build, the
# libraries, the programs the tests drive and the tests themselves, is compiled with
# AddressSanitizer and UndefinedBehaviorSanitizer; together with a Debug build type that keeps
# assert() alive, the tests then check the code the user runs, not a twin of it.
option(KALVO_SANITIZE "Build every target with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(KALVO_SANITIZE)
    set(KALVO_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                             -fno-sanitize-recover=undefined)
    add_compile_options(${KALVO_SANITIZE_FLAGS})
    add_link_options(${KALVO_SANITIZE_FLAGS})
    # Bounds checks in the standard containers: an out-of-range operator[] stops the test instead
    # of reading a neighbour.
    add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()

# The environment every test runs in. Qt and fontconfig keep caches until the process ends;
# their leaks (and only theirs) are listed in tests/lsan.supp. QtTest's own crash handler forks
# to print a stack and can deadlock on a corrupted heap, turning a crash into a hang: the
# sanitizers print the stack instead.
set(KALVO_TEST_ENVIRONMENT
    "QTEST_DISABLE_STACK_DUMP=1"
    "ASAN_OPTIONS=detect_leaks=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

function(kalvo_core_library name folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    if(NOT sources)
        # A subsystem whose sources have not been written yet: headers only.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# A GoogleTest executable from the .cpp files of one test folder, linked with the given core
# libraries.
function(kalvo_core_test name folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main GTest::gmock
                                          kalvo_testsupport)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "${KALVO_TEST_ENVIRONMENT}")
endfunction()
