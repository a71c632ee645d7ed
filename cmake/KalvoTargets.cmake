# Every core subsystem is a static library built from the .cpp files of its folder, in two
# variants: the plain one for the programs and benchmarks, and one with AddressSanitizer and
# UndefinedBehaviorSanitizer that the tests link.
set(KALVO_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                         -fno-sanitize-recover=undefined)

function(kalvo_core_library name folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    if(NOT sources)
        # A subsystem whose sources have not been written yet: headers only.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        add_library(${name}_san INTERFACE)
        target_include_directories(${name}_san INTERFACE ${PROJECT_SOURCE_DIR})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})

    add_library(${name}_san STATIC EXCLUDE_FROM_ALL ${sources})
    target_include_directories(${name}_san PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${name}_san PUBLIC ${KALVO_SANITIZE_FLAGS} -O1 -g)
    target_link_options(${name}_san PUBLIC ${KALVO_SANITIZE_FLAGS})
    set(san_deps)
    foreach(dep IN LISTS ARG_DEPENDS)
        if(dep MATCHES "^kalvo_")
            list(APPEND san_deps ${dep}_san)
        else()
            list(APPEND san_deps ${dep})
        endif()
    endforeach()
    target_link_libraries(${name}_san PUBLIC ${san_deps})
endfunction()

# A GoogleTest executable from the .cpp files of one test folder, linked with the sanitised
# variants of the given core libraries.
function(kalvo_core_test name folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    set(san_deps)
    foreach(dep IN LISTS ARG_DEPENDS)
        list(APPEND san_deps ${dep}_san)
    endforeach()
    target_link_libraries(${name} PRIVATE ${san_deps} GTest::gtest GTest::gtest_main GTest::gmock
                                          kalvo_testsupport)
    target_compile_options(${name} PRIVATE ${KALVO_SANITIZE_FLAGS} -O1 -g)
    target_link_options(${name} PRIVATE ${KALVO_SANITIZE_FLAGS})
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT
                         "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
