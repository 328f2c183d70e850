# Helpers that give every layer the same shape: a static library from the sources of its directory,
# and one GoogleTest program per layer.

# quillwright_library(NAME [DEPENDS targets...] [SOURCES extra files...])
# Builds the .cpp files of the current directory (not of its subdirectories) into a static library.
function(quillwright_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources AND NOT ARG_SOURCES)
        return()  # a layer that has no code yet
    endif()
    add_library(${name} STATIC ${sources} ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# quillwright_test_program(NAME [DEPENDS targets...] [LABELS labels...])
# Builds the .cpp files of the current directory into one test program and registers its cases.
function(quillwright_test_program name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;LABELS;SOURCES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources AND NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${sources} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gmock GTest::gtest_main Threads::Threads)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES LABELS "${ARG_LABELS}")
endfunction()

# quillwright_qt_test_program(NAME [DEPENDS targets...] [LABELS labels...] [SOURCES extra files...])
# A test program on the real Qt backend, run without a display on Qt's offscreen platform. The backend
# exists while the tests run (tests/qt_backend_test_main.cpp).
function(quillwright_qt_test_program name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;LABELS;SOURCES" ${ARGN})
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_executable(${name} ${sources} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/qt_backend_test_main.cpp)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} quill_platform_qt GTest::gmock GTest::gtest Threads::Threads)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
        PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()
