# Helpers that give every target of ours the same flags and layout.

set(PROJECT_WARNINGS -Wall -Wextra -Werror)

# project_library(name SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
function(project_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${PROJECT_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  # Backend headers (curl, Pango, httplib, ...) refuse to compile outside their own library.
  string(TOUPPER "INSIDE_${name}" inside)
  target_compile_definitions(${name} PRIVATE ${inside})
endfunction()

# project_executable(name SOURCES ... [DEPS ...])
function(project_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${PROJECT_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()

# project_test(name SOURCES ... [DEPS ...]): one GoogleTest binary, registered with CTest.
function(project_test name)
  project_test_binary(${name} ${ARGN})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# The test binary itself, not yet registered.
function(project_test_binary name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${PROJECT_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} test_support)
  # Tests find checked-in data (resources, scenarios, catalogues) from the source tree.
  target_compile_definitions(${name} PRIVATE PROJECT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

# project_display_test(name SOURCES ... [DEPS ...]): a GoogleTest binary that needs WebKit and so
# an X server. It runs as one CTest entry under xvfb-run: its tests share one web process,
# because starting WebKit costs more than the tests.
function(project_display_test name)
  project_test_binary(${name} ${ARGN})
  add_test(NAME ${name} COMMAND xvfb-run -a $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# test_clip(PATH SOURCE): a plain movie for the tests, encoded at build time with the ffmpeg
# program from one of its test sources, e.g. "color=c=gray:s=16x16:r=1:d=30".
function(test_clip path source)
  find_program(FFMPEG_PROGRAM ffmpeg REQUIRED)
  add_custom_command(
    OUTPUT ${path}
    COMMAND ${FFMPEG_PROGRAM} -hide_banner -loglevel error -y -f lavfi -i ${source}
      -c:v libx264 -preset ultrafast -pix_fmt yuv420p -threads 1 ${path}
    VERBATIM)
endfunction()
