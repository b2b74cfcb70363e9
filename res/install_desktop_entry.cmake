# Run by the install step: writes the desktop entry with the installed program's absolute path
# in Exec, then installs it like any other file (DESTDIR and the manifest included).
set(program "${CMAKE_INSTALL_PREFIX}/${bindir}/kelvarine")
if(IS_ABSOLUTE "${bindir}")
    set(program "${bindir}/kelvarine")
endif()
execute_process(COMMAND "${desktop_exec_tool}" "${program}"
                OUTPUT_VARIABLE KELVARINE_DESKTOP_EXEC RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Cannot write the desktop entry's Exec for ${program}")
endif()
# One file per destination, so an install and a package built at once never swap entries.
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(entry "${desktop_stage}/${destination}/${KELVARINE_APP_ID}.desktop")
configure_file("${desktop_template}" "${entry}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${datadir}/applications" TYPE FILE
     FILES "${entry}")
