# Run by the install step: writes the desktop entry with the installed program's absolute path
# in Exec, then installs it like any other file (DESTDIR and the manifest included).
set(program "${CMAKE_INSTALL_PREFIX}/${bindir}/kelvarine")
if(IS_ABSOLUTE "${bindir}")
    set(program "${bindir}/kelvarine")
endif()
# An Exec argument with reserved characters is quoted, with ", `, $ and \ escaped inside; the
# value's own escaping then doubles every backslash.
if(program MATCHES "[ \t\n\"'\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" program "${program}")
    set(program "\"${program}\"")
endif()
string(REPLACE "\\" "\\\\" KELVARINE_DESKTOP_EXEC "${program}")
# One file per destination, so an install and a package built at once never swap entries.
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(entry "${desktop_stage}/${destination}/${KELVARINE_APP_ID}.desktop")
configure_file("${desktop_template}" "${entry}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${datadir}/applications" TYPE FILE
     FILES "${entry}")
