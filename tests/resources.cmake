# Checks of the resources in the built executables (string table, icon,
# version block, manifest) and the string lookup tests.

# The unit tests carry the launcher's resources, to read its string table
# in-process, and a block of their own for cases the table cannot show.
target_sources(unit_tests PRIVATE
    ${PROJECT_SOURCE_DIR}/resources/launcher.rc
    ${CMAKE_CURRENT_SOURCE_DIR}/unit/lookup_fixture.rc
    ${CMAKE_CURRENT_SOURCE_DIR}/unit/string_lookup_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/unit/string_table_test.cpp
)
target_include_directories(unit_tests PRIVATE ${TANDREL_RESOURCE_INCLUDE_DIR})
# windres reads these itself, so no dependency scan sees them.
set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/launcher.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/resources/app.ico;${PROJECT_SOURCE_DIR}/resources/launcher.manifest")

# tandrel_resource_check(NAME EXE): every resource of a built launcher.
function(tandrel_resource_check name exe)
    add_test(NAME ${name}
        COMMAND ${TANDREL_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/check_pe_resources.py
                --version ${PROJECT_VERSION} ${exe} ${PROJECT_SOURCE_DIR}/resources/app.ico)
endfunction()
tandrel_resource_check(pe_resources_twin $<TARGET_FILE:TandrelLauncher>)
if(TANDREL_PRODUCT_DIR)
    tandrel_resource_check(pe_resources_product ${TANDREL_PRODUCT_DIR}/TandrelLauncher.exe)
endif()

add_test(NAME icon_file
    COMMAND ${TANDREL_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/check_icon_file.py ${PROJECT_SOURCE_DIR}/resources/app.ico)
