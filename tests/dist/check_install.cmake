# Installs the build into PREFIX and checks what a desktop and the package rely on.
function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("${what} failed (${rc}):\n${out}${err}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

file(REMOVE_RECURSE ${PREFIX})
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

set(desktop ${PREFIX}/share/applications/${APP_ID}.desktop)
set(metainfo ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml)
foreach(file
    bin/veltrano bin/veltrano-report
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    ${MANUAL_DIR}/index.html)
  if(NOT EXISTS ${PREFIX}/${file})
    fail("not installed: ${file}")
  endif()
endforeach()

# Every picture the manual shows is installed beside it.
file(STRINGS ${PREFIX}/${MANUAL_DIR}/index.html lines REGEX "src=\"")
foreach(line IN LISTS lines)
  string(REGEX MATCHALL "src=\"[^\"]+\"" sources "${line}")
  foreach(source IN LISTS sources)
    string(REGEX REPLACE "src=\"([^\"]+)\"" "\\1" picture "${source}")
    if(NOT EXISTS ${PREFIX}/${MANUAL_DIR}/${picture})
      fail("the manual shows ${picture}, which is not installed")
    endif()
  endforeach()
endforeach()

# The launcher names the installed program and icon.
file(STRINGS ${desktop} exec REGEX "^Exec=")
file(STRINGS ${desktop} icon REGEX "^Icon=")
if(NOT exec MATCHES "^Exec=veltrano( |$)" OR NOT icon STREQUAL "Icon=${APP_ID}")
  fail("launcher: ${exec} ${icon}")
endif()

if(NOT DESKTOP_FILE_VALIDATE)
  fail("desktop-file-validate not found: install desktop-file-utils (scripts/install-deps)")
endif()
if(NOT APPSTREAMCLI)
  fail("appstreamcli not found: install appstream (scripts/install-deps)")
endif()
run("desktop-file-validate" ${DESKTOP_FILE_VALIDATE} ${desktop})
run("appstreamcli validate" ${APPSTREAMCLI} validate --no-net ${metainfo})

# The installed programs start.
run("veltrano-report" ${PREFIX}/bin/veltrano-report ${SAMPLE})
run("veltrano --screenshot" ${PREFIX}/bin/veltrano --screenshot ${PREFIX}/window.png ${SAMPLE})
if(NOT EXISTS ${PREFIX}/window.png)
  fail("veltrano saved no picture")
endif()
