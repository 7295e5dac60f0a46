# `cmake --install <build> --prefix DIR` lays out a complete application
# folder: both programs side by side (the databases belong beside them), the
# icon, and one desktop entry per tool that starts it from that folder.
# The programs take the folder they are installed in as the application folder,
# so a prefix nobody chose (CMake's default, /usr/local) would become the
# folder of the databases: an install there is refused, saying what to pass.
# CMake tells a default prefix only at the first configure, hence the cache.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR NOT DEFINED MARLO_UNCHOSEN_PREFIX)
    set(MARLO_UNCHOSEN_PREFIX "/usr/local" CACHE INTERNAL "CMake's default install prefix")
endif()
if(CMAKE_INSTALL_PREFIX STREQUAL MARLO_UNCHOSEN_PREFIX)
    install(CODE "
        if(\"\${CMAKE_INSTALL_PREFIX}\" STREQUAL \"${MARLO_UNCHOSEN_PREFIX}\")
            message(FATAL_ERROR \"No application folder given: pass the folder of MARLOCON.EXE with --prefix, for example: cmake --install build --prefix ~/radio/MARLO\")
        endif()
    ")
endif()
install(TARGETS dbreset dbtransfer RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/common/resources/marlo-icon.png
              ${PROJECT_SOURCE_DIR}/common/resources/marlo-icon.svg
        DESTINATION .)

set(MARLO_DESKTOP_TEMPLATE ${PROJECT_SOURCE_DIR}/cmake/tool.desktop.in)
# Each entry's comment is its program's description, without the blank that
# may end it.
string(STRIP "${MARLO_RESET_DESCRIPTION}" reset_comment)
string(STRIP "${MARLO_TRANSFER_DESCRIPTION}" transfer_comment)
install(CODE "
    set(folder \"\${CMAKE_INSTALL_PREFIX}\")
    foreach(entry \"dbreset|MARLO-Corvane Database Reset|${reset_comment}\"
                  \"dbtransfer|MARLO-Corvane Database Import/Export|${transfer_comment}\")
        string(REPLACE \"|\" \";\" fields \"\${entry}\")
        list(GET fields 0 TOOL)
        list(GET fields 1 NAME)
        list(GET fields 2 COMMENT)
        set(FOLDER \"\${folder}\")
        configure_file(\"${MARLO_DESKTOP_TEMPLATE}\" \"\$ENV{DESTDIR}\${folder}/\${TOOL}.desktop\" @ONLY)
        file(CHMOD \"\$ENV{DESTDIR}\${folder}/\${TOOL}.desktop\"
             PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        message(STATUS \"Desktop entry: \$ENV{DESTDIR}\${folder}/\${TOOL}.desktop\")
    endforeach()
")
