# Install rules. The program and its Data tree go together into one folder, since the
# program finds its Data tree beside its executable; bin/ gets links to the executables;
# the desktop gets the icons, the menu entry and the software-centre metadata; man gets the
# manual pages in English and French, bash the completion of zelkohtml-gen, and the doc
# folder the copyright. The Debian package (cmake/Package.cmake) is made of the same rules.
#
#   cmake --install build --prefix /usr/local
#
# A user who cannot write to that folder gets a Data tree of their own under
# $XDG_DATA_HOME/zelkohtml/ (~/.local/share/zelkohtml/), started from the delivered one.
include(GNUInstallDirs)

set(ZK_INSTALL_APPDIR "lib/zelkohtml" CACHE STRING
    "Folder of the executables and their Data tree, relative to the install prefix")

set(_zk_programs)
foreach(_zk_target zelkohtml zelkohtml-gen)
    if(TARGET ${_zk_target})
        list(APPEND _zk_programs ${_zk_target})
    endif()
endforeach()

if(_zk_programs)
    install(TARGETS ${_zk_programs} RUNTIME DESTINATION ${ZK_INSTALL_APPDIR})

    # Only the delivered files: name days and help page.
    install(FILES ${CMAKE_SOURCE_DIR}/data/Data/Bin/fetes.txt
            DESTINATION ${ZK_INSTALL_APPDIR}/Data/Bin)
    install(FILES ${CMAKE_SOURCE_DIR}/data/Data/Aide/ZelkoHTMLDOC.htm
            DESTINATION ${ZK_INSTALL_APPDIR}/Data/Aide)

    # Links in bin/, relative when both folders are under the prefix, so that the
    # installed tree can be moved or packaged with DESTDIR.
    if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}" OR IS_ABSOLUTE "${ZK_INSTALL_APPDIR}")
        set(_zk_link_target "${ZK_INSTALL_APPDIR}")
        if(NOT IS_ABSOLUTE "${_zk_link_target}")
            set(_zk_link_target "\${CMAKE_INSTALL_PREFIX}/${ZK_INSTALL_APPDIR}")
        endif()
    else()
        file(RELATIVE_PATH _zk_link_target "/prefix/${CMAKE_INSTALL_BINDIR}"
             "/prefix/${ZK_INSTALL_APPDIR}")
    endif()
    set(_zk_bindir "${CMAKE_INSTALL_BINDIR}")
    if(NOT IS_ABSOLUTE "${_zk_bindir}")
        set(_zk_bindir "\${CMAKE_INSTALL_PREFIX}/${_zk_bindir}")
    endif()
    foreach(_zk_program ${_zk_programs})
        install(CODE "
            set(_link \"\$ENV{DESTDIR}${_zk_bindir}/${_zk_program}\")
            message(STATUS \"Installing: \${_link}\")
            file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${_zk_bindir}\")
            file(REMOVE \"\${_link}\")
            file(CREATE_LINK \"${_zk_link_target}/${_zk_program}\" \"\${_link}\" SYMBOLIC)
            list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_link}\")
        ")
    endforeach()
endif()

if(TARGET zelkohtml)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/zelkohtml-32.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
            RENAME zelkohtml.png)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/zelkohtml.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${CMAKE_SOURCE_DIR}/data/zelkohtml.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

# The folder of the executables as an absolute path at install time, for the manual pages.
set(_zk_appdir "${ZK_INSTALL_APPDIR}")
if(NOT IS_ABSOLUTE "${_zk_appdir}")
    set(_zk_appdir "\${CMAKE_INSTALL_PREFIX}/${_zk_appdir}")
endif()
set(_zk_mandir "${CMAKE_INSTALL_MANDIR}")
if(NOT IS_ABSOLUTE "${_zk_mandir}")
    set(_zk_mandir "\${CMAKE_INSTALL_PREFIX}/${_zk_mandir}")
endif()

# zk_install_manual(PAGE LANGUAGE): data/man/PAGE[.LANGUAGE].1.in, made at install time so
# that it names the folder where this install puts the program, and gzipped.
function(zk_install_manual page language)
    set(_source "${CMAKE_SOURCE_DIR}/data/man/${page}.1.in")
    set(_dir "${_zk_mandir}/man1")
    if(language)
        set(_source "${CMAKE_SOURCE_DIR}/data/man/${page}.${language}.1.in")
        set(_dir "${_zk_mandir}/${language}/man1")
    endif()
    install(CODE "
        set(PROJECT_VERSION \"${PROJECT_VERSION}\")
        set(ZK_APPDIR \"${_zk_appdir}\")
        set(_dir \"\$ENV{DESTDIR}${_dir}\")
        message(STATUS \"Installing: \${_dir}/${page}.1.gz\")
        file(MAKE_DIRECTORY \"\${_dir}\")
        configure_file(\"${_source}\" \"\${_dir}/${page}.1\" @ONLY)
        execute_process(COMMAND gzip -9nf \"\${_dir}/${page}.1\" RESULT_VARIABLE _status)
        if(NOT _status EQUAL 0)
            message(FATAL_ERROR \"gzip failed on \${_dir}/${page}.1\")
        endif()
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_dir}/${page}.1.gz\")
    ")
endfunction()

foreach(_zk_program ${_zk_programs})
    zk_install_manual(${_zk_program} "")
    zk_install_manual(${_zk_program} fr)
endforeach()

if(TARGET zelkohtml)
    install(FILES ${CMAKE_SOURCE_DIR}/data/fr.free.zelkohtml.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
if(TARGET zelkohtml-gen)
    install(FILES ${CMAKE_SOURCE_DIR}/data/completion/zelkohtml-gen
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()
if(_zk_programs)
    install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelkohtml)
endif()
