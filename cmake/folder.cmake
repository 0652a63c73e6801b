# The steps of making a Kelvaro folder that cannot be plain install rules:
# the example catalogue, which goes only into a folder without one, and the
# desktop entry, which names the folder's own program and icon. Included at
# install time and by CPack's tarball step; the build runs it with -P to copy
# the example catalogue beside the built program (see packaging.cmake).

# The example catalogue (with its machine data for the hobbing job) goes
# into a folder that has no jixing.dat yet, and
# none of its files replaces one already there: an update, or a folder the
# user has filled, keeps its catalogue byte for byte. Copied, not installed,
# so that no install manifest lists the catalogue for removal.
function(kelvaro_copy_example_catalogue from to)
    if(EXISTS "${to}/jixing.dat" OR IS_SYMLINK "${to}/jixing.dat")
        return()
    endif()
    file(MAKE_DIRECTORY "${to}")
    file(GLOB files RELATIVE "${from}" "${from}/*.dat" "${from}/*.dat.txt")
    list(REMOVE_ITEM files jixing.dat)
    # The machine files first: the list only names machines that are there.
    foreach(name IN LISTS files ITEMS jixing.dat)
        if(NOT EXISTS "${to}/${name}" AND NOT IS_SYMLINK "${to}/${name}")
            file(COPY_FILE "${from}/${name}" "${to}/${name}")
        endif()
    endforeach()
endfunction()

# Writes the desktop entry FILE whose Exec runs PROGRAM and whose Icon is
# ICON (a path or a theme name). The program is quoted as an Exec argument,
# then both are escaped as desktop-entry strings; a line break cannot stand
# in either.
function(kelvaro_write_desktop_entry template file program icon)
    if(program MATCHES "[\r\n]" OR icon MATCHES "[\r\n]")
        message(FATAL_ERROR "The desktop entry cannot name a path with a line break: ${program}")
    endif()
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${program}")
    string(REPLACE "\\" "\\\\" exec "\"${exec}\"")
    string(REPLACE "%" "%%" KELVARO_DESKTOP_EXEC "${exec}")
    string(REPLACE "\\" "\\\\" KELVARO_DESKTOP_ICON "${icon}")
    configure_file("${template}" "${file}" @ONLY)
endfunction()

# At install time: the example catalogue and the folder's entry, which names
# the program and icon by the absolute path the folder has without DESTDIR.
function(kelvaro_install_folder examples template)
    get_filename_component(folder "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
    set(to "$ENV{DESTDIR}${folder}")
    if(EXISTS "${to}/jixing.dat")
        message(STATUS "Kept the catalogue: ${to}/jixing.dat")
    else()
        message(STATUS "Example catalogue: ${to}/jixing.dat")
    endif()
    kelvaro_copy_example_catalogue("${examples}" "${to}")
    message(STATUS "Installing: ${to}/kelvaro.desktop")
    kelvaro_write_desktop_entry("${template}" "${to}/kelvaro.desktop" "${folder}/kelvaro"
                                "${folder}/kelvaro.png")
endfunction()

if(DEFINED KELVARO_EXAMPLES)
    kelvaro_copy_example_catalogue("${KELVARO_EXAMPLES}" "${KELVARO_TO}")
endif()
