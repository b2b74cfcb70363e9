# Run by cpack once the packages are built (CPACK_POST_BUILD_SCRIPTS): makes the -dbgsym package
# whole. CPack (up to 3.25 at least) lists its files in md5sums by their paths in its staging
# folder, so dpkg could not verify them, the bytes change with that folder, and lintian fails
# it. Packed again with dpkg-deb, which dates and orders entries by SOURCE_DATE_EPOCH as CPack
# does; the documentation is the main package's, by a link, as Debian's dbgsym packages do.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "-dbgsym_[^/]*\\.ddeb$")
        continue()
    endif()
    set(tree "${package}.tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    file(GLOB_RECURSE debug_files RELATIVE "${tree}" "${tree}/usr/*")
    list(SORT debug_files)
    file(WRITE "${tree}/DEBIAN/md5sums" "")
    foreach(file IN LISTS debug_files)
        file(MD5 "${tree}/${file}" sum)
        file(APPEND "${tree}/DEBIAN/md5sums" "${sum}  ${file}\n")
        # Data for debuggers, not programs.
        file(CHMOD "${tree}/${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endforeach()
    string(REGEX REPLACE "^.*/([^/_]+)-dbgsym_[^/]*$" "\\1" name "${package}")
    file(MAKE_DIRECTORY "${tree}/usr/share/doc")
    file(CREATE_LINK ${name} "${tree}/usr/share/doc/${name}-dbgsym" SYMBOLIC)
    execute_process(COMMAND dpkg-deb --root-owner-group -Zxz --build "${tree}" "${package}"
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
