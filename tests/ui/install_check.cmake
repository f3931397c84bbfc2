cmake_minimum_required(VERSION 3.25)
# Installs the build into a scratch prefix and checks that the programs, the desktop entry
# and the icon arrive: cmake -DBUILD=<build dir> -P install_check.cmake
set(prefix ${BUILD}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(file bin/velmora bin/velmora-cli share/applications/velmora.desktop
        share/mime/packages/velmora.xml
        share/icons/hicolor/scalable/apps/velmora.svg)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(STRINGS ${prefix}/share/applications/velmora.desktop entry)
foreach(line "Exec=velmora %F" "Icon=velmora" "Type=Application")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks \"${line}\"")
  endif()
endforeach()
file(REMOVE_RECURSE ${prefix})
