# The localized error box: in-process hook tests and end-to-end box checks.
# Every test here shows message boxes, so it needs an X display (scripts/xvfb.sh).

# In-process: boxes of the test program's own thread, read from inside their
# modal loop. The program carries the launcher's resources (string table, icon)
# so that the code under test finds them in its own module.
tandrel_gtest(error_box_tests
    ${CMAKE_CURRENT_SOURCE_DIR}/unit/error_box_test.cpp
    ${PROJECT_SOURCE_DIR}/resources/launcher.rc
)
target_include_directories(error_box_tests PRIVATE ${TANDREL_RESOURCE_INCLUDE_DIR})
tandrel_wine_test(error_box_tests COMMAND error_box_tests LOCALE en_US)

# End-to-end: the launcher's box as each user sees it.
target_sources(launch_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/e2e/error_box_test.cpp)
tandrel_e2e(SpanishUser es_ES)
tandrel_e2e(FrenchUser fr_FR)

# Finds, measures and closes the box for scripts/screenshots.sh; not a test.
add_executable(box_probe WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/error_box/box_probe.cpp)
target_include_directories(box_probe PRIVATE ${PROJECT_SOURCE_DIR})
tandrel_code_options(box_probe)
target_link_options(box_probe PRIVATE -municode)
