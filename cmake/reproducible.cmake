# Two builds of the same tree, in any two folders, give the same bytes: the package and the
# programs in it, build ids included.

# Paths in debug information and __FILE__ are relative: the tree becomes ".", the build folder
# "./build" wherever it is (the later map wins where the build folder is inside the tree).
add_compile_options(-Wdate-time "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                    "-ffile-prefix-map=${PROJECT_BINARY_DIR}=./build")
# moc includes a header by its path from moc's output, which climbs out of the build folder and
# down to the tree, a path no map can catch; by its path under the include folders it is the same
# from any build folder.
set(CMAKE_AUTOMOC_PATH_PREFIX ON)

# Dates: SOURCE_DATE_EPOCH when set, else the date of the latest entry of the Debian changelog,
# as dpkg-buildpackage sets it. rcc stamps every resource with it (else with the files' times,
# which differ from build to build for the translations), and CPack every file in the package.
set(changelog ${PROJECT_SOURCE_DIR}/res/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} trailer REGEX "^ -- .*>  " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- .*>  " "" changelog_date "${trailer}")
execute_process(COMMAND date -u -d "${changelog_date}" +%s OUTPUT_VARIABLE KELVARINE_CHANGELOG_EPOCH
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
# CMake has no other way into the environment of Qt's rcc commands than a launcher for every
# custom command; this one only sets the variable.
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
    "\"${PROJECT_SOURCE_DIR}/cmake/with-source-date-epoch\" ${KELVARINE_CHANGELOG_EPOCH}")
set(CPACK_KELVARINE_SOURCE_DATE_EPOCH ${KELVARINE_CHANGELOG_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_source_date_epoch.cmake)
