# Installs the build into PREFIX and checks that the desktop program is complete there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/tellurix bin/tellurix-cli share/applications/tellurix.desktop
             share/icons/hicolor/scalable/apps/tellurix.svg share/icons/hicolor/64x64/apps/tellurix.png
             share/man/man1/tellurix.1.gz share/man/man1/tellurix-cli.1.gz
             share/metainfo/example.tellurix.Tellurix.metainfo.xml lib/udev/rules.d/70-tellurix.rules
             share/doc/tellurix/copyright share/doc/tellurix/changelog.gz)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/tellurix.desktop" entry)
foreach(line "Exec=tellurix" "Icon=tellurix" "Type=Application")
  list(FIND entry "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "tellurix.desktop lacks ${line}")
  endif()
endforeach()
if(EXISTS "${PREFIX}/bin/tellurix-logger-sim")
  message(FATAL_ERROR "the simulated logger is a developer's tool, installed only on request")
endif()
file(REMOVE_RECURSE "${PREFIX}")
